#include "NodeFixture.h"

#include <host/CachedPlayback.h>
#include <maya/MGlobal.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using CachedPlaybackTest = NodeFixture;

// In an animated shot, a CineSheet keeps Cached Playback out of safe mode, and its cache holds
// the inputs its drawing reads.
TEST_F(CachedPlaybackTest, ASheetInAnAnimatedShotAsksToBeCached) {
    run("camera -n shotCam; connectAttr time1.outTime shotCam.translateX");
    ASSERT_EQ(MGlobal::executeCommand("cineSheet -camera shotCamShape"), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("cineSheet -camera shotCamShape -noTime true"),
              MStatus::kSuccess);
    EXPECT_EQ(host::safeModeMessages(), std::vector<std::string>());

    std::vector<std::string> cached = host::cachedAttributes(nodeNamed("cineSheetShape1"));
    std::sort(cached.begin(), cached.end());
    EXPECT_EQ(cached,
              (std::vector<std::string>{"alphaGain", "cacheDepth", "cacheFrames", "cacheResolution",
                                        "colorSpace", "displayInfo", "displayOnlyIfCurrent",
                                        "endFrame", "file", "forceFrameRate", "frame",
                                        "frameOffset", "gamma", "holdEndFrames", "startFrame"}));
}

}  // namespace
