#include "DecodeMedia.h"
#include "cache/VideoSource.h"

#include <gtest/gtest.h>

namespace {

using video::VideoSource;

TEST(VideoSource, keyframesAtZeroTwelveAndTwentyFourOfThirtyFrames) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("keys_0_12_24")));
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 12, 24, 30}));
    EXPECT_EQ(source.keyframeInterval(), 12);
    EXPECT_EQ(source.width(), 160);
    EXPECT_EQ(source.height(), 120);
    EXPECT_DOUBLE_EQ(source.averageFrameRate(), 24.0);
}

TEST(VideoSource, keyframeOnTheLastFrameExtendsTheLastBlock) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("keys_0_12_29")));
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 12, 30}));
}

TEST(VideoSource, everyFrameAKeyframe) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("prores_mov")));
    EXPECT_EQ(source.frameCount(), 24);
    EXPECT_EQ(source.blockCount(), 23);
    EXPECT_EQ(source.keyframeInterval(), 1);
}

// Frames are numbered from the first picture whatever the first time stamp is; the audio of an
// interleaved file does not count.
TEST(VideoSource, numbersFramesFromTheFirstPicture) {
    VideoSource late;
    ASSERT_TRUE(late.open(decodetest::mediaPath("late_start_mkv")));
    EXPECT_EQ(late.blockStarts().front(), 0);
    EXPECT_NEAR(late.averageFrameRate(), 30000.0 / 1001.0, 1e-9);
    VideoSource withAudio;
    ASSERT_TRUE(withAudio.open(decodetest::mediaPath("h264_aac_mov")));
    EXPECT_EQ(withAudio.frameCount(), 72);
}

TEST(VideoSource, reopeningReplacesTheFormerVideo) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("prores_mov")));
    ASSERT_TRUE(source.open(decodetest::mediaPath("keys_0_12_24")));
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 12, 24, 30}));
    source.close();
    EXPECT_FALSE(source.isOpen());
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 0}));
    EXPECT_EQ(source.keyframeInterval(), 0);
}

}  // namespace
