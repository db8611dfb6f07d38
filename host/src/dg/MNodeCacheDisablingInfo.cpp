#include <maya/MNodeCacheDisablingInfo.h>

#include "dg/CacheSetupState.h"

namespace {

host::CacheDisablingState& state(MNodeCacheDisablingInfo* info) {
    return *reinterpret_cast<host::CacheDisablingState*>(info);
}

}  // namespace

void MNodeCacheDisablingInfo::setCacheDisabled(bool disabled) {
    state(this).disabled = disabled;
}

bool MNodeCacheDisablingInfo::getCacheDisabled() const {
    return reinterpret_cast<const host::CacheDisablingState*>(this)->disabled;
}

void MNodeCacheDisablingInfo::setReason(const MString& reason) {
    state(this).reason = reason;
    state(this).disabled = true;
}

void MNodeCacheDisablingInfo::setMitigation(const MString& mitigation) {
    state(this).mitigation = mitigation;
    state(this).disabled = true;
}

void MNodeCacheDisablingInfo::reset() {
    state(this) = host::CacheDisablingState();
}
