#include <maya/MNodeCacheSetupInfo.h>

#include "dg/CacheSetupState.h"

namespace {

host::CacheSetupState& state(MNodeCacheSetupInfo* info) {
    return *reinterpret_cast<host::CacheSetupState*>(info);
}

const host::CacheSetupState& state(const MNodeCacheSetupInfo* info) {
    return *reinterpret_cast<const host::CacheSetupState*>(info);
}

}  // namespace

void MNodeCacheSetupInfo::setPreference(PreferenceFlag preference, bool value) {
    if (preference >= 0 && preference < kLastPreference) {
        state(this).preferences[preference] = value;
    }
}

bool MNodeCacheSetupInfo::getPreference(PreferenceFlag preference) const {
    return preference >= 0 && preference < kLastPreference && state(this).preferences[preference];
}

void MNodeCacheSetupInfo::setRequirement(RequirementFlag requirement, bool value) {
    if (requirement >= 0 && requirement < kLastRequirement) {
        state(this).requirements[requirement] = value;
    }
}

bool MNodeCacheSetupInfo::getRequirement(RequirementFlag requirement) const {
    return requirement >= 0 && requirement < kLastRequirement &&
           state(this).requirements[requirement];
}
