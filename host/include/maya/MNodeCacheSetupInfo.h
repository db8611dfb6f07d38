#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// What a node asks of Cached Playback, filled in by getCacheSetup. Maya hands it in; it can be
// neither made, copied nor destroyed by a plug-in, and a pointer to it must not be kept.
class OPENMAYA_AVAILABLE(2020) MNodeCacheSetupInfo {
public:
    enum PreferenceFlag { kWantToCacheByDefault = 0, kLastPreference = 1 };
    void setPreference(PreferenceFlag preference, bool value);
    bool getPreference(PreferenceFlag preference) const;

    enum RequirementFlag { kSimulationSupport = 0, kLastRequirement = 1 };
    void setRequirement(RequirementFlag requirement, bool value);
    bool getRequirement(RequirementFlag requirement) const;

private:
    MNodeCacheSetupInfo() = delete;
    ~MNodeCacheSetupInfo() = delete;
    MNodeCacheSetupInfo(const MNodeCacheSetupInfo&) = delete;
    MNodeCacheSetupInfo(MNodeCacheSetupInfo&&) = delete;
    MNodeCacheSetupInfo& operator=(const MNodeCacheSetupInfo&) = delete;
    MNodeCacheSetupInfo& operator=(MNodeCacheSetupInfo&&) = delete;
};

OPENMAYA_NAMESPACE_CLOSE
