#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Whether a node turns Cached Playback off, and why, filled in by getCacheSetup. Maya hands it
// in; it can be neither made, copied nor destroyed by a plug-in.
class OPENMAYA_AVAILABLE(2020) MNodeCacheDisablingInfo {
public:
    void setCacheDisabled(bool disabled);
    bool getCacheDisabled() const;
    // Each of these also disables caching.
    void setReason(const MString& reason);
    void setMitigation(const MString& mitigation);
    // Back to the enabled state.
    void reset();

private:
    MNodeCacheDisablingInfo() = delete;
    ~MNodeCacheDisablingInfo() = delete;
    MNodeCacheDisablingInfo(const MNodeCacheDisablingInfo&) = delete;
    MNodeCacheDisablingInfo(MNodeCacheDisablingInfo&&) = delete;
    MNodeCacheDisablingInfo& operator=(const MNodeCacheDisablingInfo&) = delete;
    MNodeCacheDisablingInfo& operator=(MNodeCacheDisablingInfo&&) = delete;
};

OPENMAYA_NAMESPACE_CLOSE
