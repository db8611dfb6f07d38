#pragma once

#include <maya/MCacheSchema.h>
#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MNodeCacheSetupInfo.h>
#include <maya/MObject.h>
#include <maya/MString.h>

#include <vector>

// What getCacheSetup and configCache fill in. Maya hands these to a node as references to
// objects no plug-in can make; here the API classes are views of the host's own state.
namespace host {

struct CacheSetupState {
    bool preferences[MNodeCacheSetupInfo::kLastPreference] = {};
    bool requirements[MNodeCacheSetupInfo::kLastRequirement] = {};
};

struct CacheDisablingState {
    bool disabled = false;
    MString reason;
    MString mitigation;
};

struct CacheSchemaState {
    std::vector<MObject> attributes;
};

inline MNodeCacheSetupInfo& apiView(CacheSetupState& state) {
    return reinterpret_cast<MNodeCacheSetupInfo&>(state);
}
inline MNodeCacheDisablingInfo& apiView(CacheDisablingState& state) {
    return reinterpret_cast<MNodeCacheDisablingInfo&>(state);
}
inline MCacheSchema& apiView(CacheSchemaState& state) {
    return reinterpret_cast<MCacheSchema&>(state);
}

}  // namespace host
