// Maya hands the Cached Playback setup in by reference: a plug-in cannot keep a copy of it.
#include <maya/MNodeCacheSetupInfo.h>

void keep(MNodeCacheSetupInfo& info) {
    MNodeCacheSetupInfo copy(info);
    copy.setPreference(MNodeCacheSetupInfo::kWantToCacheByDefault, true);
}
