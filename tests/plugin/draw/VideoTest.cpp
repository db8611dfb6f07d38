#include "SheetFixture.h"

#include "draw/CineSheetData.h"

#include <host/IdleQueue.h>
#include <host/Interface.h>
#include <host/Playback.h>
#include <host/Textures.h>
#include <host/Viewport.h>

#include <maya/MDrawContext.h>
#include <maya/MViewport2Renderer.h>

#include <algorithm>
#include <cstdio>

namespace {

using testsupport::pointSampledRgba;

const testsupport::ReferenceVideo& referenceVideo() {
    static const testsupport::ReferenceVideo video =
        testsupport::referenceDecode(frameprep::video());
    return video;
}

std::vector<std::uint8_t> referenceFrame(int frame, int divisor) {
    const testsupport::ReferenceVideo& video = referenceVideo();
    return pointSampledRgba(video.frames.at(frame), video.width, video.height, divisor);
}

class VideoOnSheet : public SheetFixture {
protected:
    void expectFrame(int frame, int divisor) {
        const Texture texture = drawnTexture();
        EXPECT_EQ(texture.width, 96 / divisor);
        EXPECT_EQ(texture.height, 64 / divisor);
        EXPECT_EQ(texture.pixels, referenceFrame(frame, divisor))
            << "frame " << frame << " at divisor " << divisor;
    }
};

// What each refresh of a playback drew, taken as the render ends.
std::vector<std::vector<std::uint8_t>> drawnAtEachRefresh;
MObject watchedSheet;

void keepDrawnTexture(MHWRender::MDrawContext&, void*) {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    host::readTexturePixels(host::latestTexture(watchedSheet), &width, &height, &pixels);
    drawnAtEachRefresh.push_back(pixels);
}

// Playing every frame in an artist's session draws each exact frame, cold cache and all, in
// one playback with nothing run from the idle queue.
TEST_F(VideoOnSheet, PlayingEveryFrameDrawsEachExactFrame) {
    setFile(frameprep::video());
    host::setInteractiveSession(true);
    watchedSheet = sheet;
    drawnAtEachRefresh.clear();
    using MHWRender::MPassContext;
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    ASSERT_EQ(renderer->addNotification(keepDrawnTexture, "keep", MPassContext::kEndRenderSemantic,
                                        nullptr),
              MStatus::kSuccess);
    run("connectAttr time1.outTime sheetShape.frame; currentTime 0;"
        "playbackOptions -min 0 -max 47 -ps 0 -mps 0; play -wait");
    renderer->removeNotification("keep", MPassContext::kEndRenderSemantic);
    host::resetPlaybackOptions();
    host::setInteractiveSession(false);
    ASSERT_EQ(drawnAtEachRefresh.size(), 48u);
    for (int frame = 0; frame < 48; ++frame) {
        EXPECT_EQ(drawnAtEachRefresh[frame], referenceFrame(frame, 1)) << "frame " << frame;
    }
}

TEST_F(VideoOnSheet, StandingTimeReadsNoFileAndWritesNoAttribute) {
    testsupport::TempDir folder;
    const std::string clip = folder.file("clip.MP4");
    testsupport::writeFile(clip, testsupport::readFile(frameprep::video()));
    setFile(clip);
    setTime(9);
    refresh();
    expectFrame(9, 1);

    ASSERT_EQ(std::rename(clip.c_str(), folder.file("gone.mp4").c_str()), 0);
    ASSERT_EQ(plug("keyframeInterval").setInt(99), MStatus::kSuccess);
    refresh();
    refresh();
    EXPECT_TRUE(drewMesh());
    expectFrame(9, 1);
    EXPECT_EQ(plug("keyframeInterval").asInt(), 99);

    // The next frame looks for the file again and finds it gone.
    setTime(10);
    refresh();
    EXPECT_TRUE(drewCard());
}

// Draw data dropped, or replaced by another kind, is made afresh with the frame shown.
TEST_F(VideoOnSheet, FreshDrawDataShowsTheFrameAgain) {
    setFile(frameprep::video());
    setTime(17);
    refresh();
    expectFrame(17, 1);
    host::replaceKeptDrawData(sheet, nullptr);
    refresh();
    expectFrame(17, 1);
    host::replaceKeptDrawData(sheet, new MUserData());
    refresh();
    expectFrame(17, 1);
    EXPECT_NE(dynamic_cast<CineSheetData*>(host::keptDrawData(sheet)), nullptr);
}

// A picture that is not on screen must come back when asked for again, whatever took it away.
class ReturningPicture : public VideoOnSheet {
protected:
    bool showsNothing() {
        const Texture texture = drawnTexture();
        return !drewMesh() || std::all_of(texture.pixels.begin(), texture.pixels.end(),
                                          [](std::uint8_t byte) { return byte == 0; });
    }
};

TEST_F(ReturningPicture, VideoMissingAtFirstIsShownOnceItAppears) {
    testsupport::TempDir folder;
    const std::string clip = folder.file("late.mp4");
    setFile(clip);
    setTime(5);
    refresh();
    EXPECT_TRUE(drewCard());

    // At the same frame.
    testsupport::writeFile(clip, testsupport::readFile(frameprep::video()));
    refresh();
    expectFrame(5, 1);
}

TEST_F(ReturningPicture, BackInsideTheClipShowsTheCachedFrame) {
    setFile(frameprep::video());
    setTime(10);
    refresh();
    expectFrame(10, 1);
    // Past the end, before the start, and outside the node's own range.
    for (double outside : {100.0, -5.0}) {
        setTime(outside);
        refresh();
        EXPECT_TRUE(showsNothing()) << outside;
        setTime(10);
        refresh();
        expectFrame(10, 1);
    }
    ASSERT_EQ(plug("endFrame").setInt(8), MStatus::kSuccess);
    refresh();
    EXPECT_TRUE(showsNothing());
    ASSERT_EQ(plug("endFrame").setInt(0), MStatus::kSuccess);
    refresh();
    expectFrame(10, 1);
}

TEST_F(ReturningPicture, CacheResolutionTakesEffectAtAStandingTime) {
    setFile(frameprep::video());
    setTime(10);
    refresh();
    expectFrame(10, 1);
    ASSERT_EQ(plug("cacheResolution").setShort(2), MStatus::kSuccess);
    refresh();
    expectFrame(10, 4);
    ASSERT_EQ(plug("cacheResolution").setShort(0), MStatus::kSuccess);
    refresh();
    expectFrame(10, 1);
}

}  // namespace
