#include "SheetFixture.h"

#include <host/Viewport.h>

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

TEST_F(VideoOnSheet, ShowsTheFrameOfEachTime) {
    ASSERT_EQ(referenceVideo().frames.size(), 48u);
    setFile(frameprep::video());
    for (int frame : {0, 1, 7, 8, 30, 47, 12, 3}) {
        setTime(frame);
        refresh();
        expectFrame(frame, 1);
    }
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 1.5);
    EXPECT_EQ(plug("keyframeInterval").asInt(), 8);
}

TEST_F(VideoOnSheet, HalfAndQuarterResolution) {
    setFile(frameprep::video());
    ASSERT_EQ(plug("cacheResolution").setShort(1), MStatus::kSuccess);
    setTime(10);
    refresh();
    expectFrame(10, 2);

    // The resolution alone is no change; it is taken up with the next frame.
    ASSERT_EQ(plug("cacheResolution").setShort(2), MStatus::kSuccess);
    refresh();
    expectFrame(10, 2);
    setTime(11);
    refresh();
    expectFrame(11, 4);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 1.5);
}

TEST_F(VideoOnSheet, SwitchesToAnImageSequenceAndBack) {
    ASSERT_EQ(plug("cacheResolution").setShort(1), MStatus::kSuccess);
    setFile(frameprep::video());
    setTime(2);
    refresh();
    expectFrame(2, 2);
    EXPECT_EQ(plug("keyframeInterval").asInt(), 8);

    setFile(frameprep::pngSequence());
    refresh();
    const Texture image = drawnTexture();
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.pixels, frameprep::pngPixels(2));
    EXPECT_EQ(plug("keyframeInterval").asInt(), 1);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 64.0 / 48.0);

    setFile(frameprep::video());
    setTime(20);
    refresh();
    expectFrame(20, 2);
    EXPECT_EQ(plug("keyframeInterval").asInt(), 8);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 1.5);
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
    EXPECT_FALSE(drewMesh());
}

TEST_F(VideoOnSheet, FreshDrawDataShowsTheFrameAgain) {
    setFile(frameprep::video());
    setTime(17);
    refresh();
    expectFrame(17, 1);
    host::replaceKeptDrawData(sheet, nullptr);
    refresh();
    expectFrame(17, 1);
}

TEST_F(VideoOnSheet, ForcedFrameRateMapsSceneFramesOntoVideoFrames) {
    // A 30 frames-per-second scene over a 24 frames-per-second video.
    run("currentUnit -time ntsc");
    setFile(frameprep::video());
    ASSERT_EQ(plug("forceFrameRate").setBool(true), MStatus::kSuccess);
    setTime(30);
    refresh();
    expectFrame(24, 1);
    setTime(10);
    refresh();
    expectFrame(8, 1);

    ASSERT_EQ(plug("forceFrameRate").setBool(false), MStatus::kSuccess);
    setTime(11);
    refresh();
    expectFrame(11, 1);
}

}  // namespace
