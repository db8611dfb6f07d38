#include "node/CineSheet.h"

// The node's evaluation (its placement and the values its drawing reads) can be cached like any
// other: asking for it keeps Cached Playback out of safe mode in an animated shot. The pictures
// are not part of it; the draw override keeps its own frame cache.
void CineSheet::getCacheSetup(const MEvaluationNode& evalNode,
                              MNodeCacheDisablingInfo& disablingInfo,
                              MNodeCacheSetupInfo& cacheSetupInfo,
                              MObjectArray& monitoredAttributes) const {
    // Past MPxLocatorNode, whose default turns caching off.
    MPxNode::getCacheSetup(evalNode, disablingInfo, cacheSetupInfo, monitoredAttributes);
    cacheSetupInfo.setPreference(MNodeCacheSetupInfo::kWantToCacheByDefault, true);
}

void CineSheet::configCache(const MEvaluationNode& evalNode, MCacheSchema& schema) const {
    MPxNode::configCache(evalNode, schema);
    for (const MObject* input :
         {&aFile, &aFrame, &aFrameOffset, &aStartFrame, &aEndFrame, &aForceFrameRate, &aCacheFrames,
          &aCacheRes, &aCacheDepth, &aColorSpace, &aGammaCorrect, &aAlphaGain,
          &aDisplayOnlyIfCurrent, &aDisplayInfo, &aHoldEndFrames}) {
        schema.add(*input);
    }
}
