#include "DecodeMedia.h"
#include "decode/VideoSource.h"

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

// Each name is read by a demuxer of single, self-contained files.
TEST(VideoSource, footageOpensThroughItsOwnDemuxer) {
    const std::pair<const char*, const char*> cases[] = {
        {"mpeg1_mpg", "mpeg"},    {"h264_m4v", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"mpeg4_raw_m4v", "m4v"}, {"mpeg2_ts", "mpegts"},
        {"h264_mts", "mpegts"},   {"h264_ac3_m2ts", "mpegts"},
        {"mpeg2_mxf", "mxf"},     {"wmv2_wmv", "asf"},
        {"theora_ogv", "ogg"},    {"raw_y4m", "yuv4mpegpipe"}};
    for (const auto& [medium, demuxer] : cases) {
        VideoSource source;
        ASSERT_TRUE(source.open(decodetest::mediaPath(medium))) << medium;
        EXPECT_STREQ(source.input()->iformat->name, demuxer) << medium;
        EXPECT_GT(source.blockCount(), 1) << medium;
    }
}

// The stored size stays what the decoder gives; the upright size and the pixel shape follow
// the display matrix.
TEST(VideoSource, uprightSizeAndPixelShape) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("rotated_90")));
    EXPECT_EQ(source.width(), 160);
    EXPECT_EQ(source.height(), 96);
    EXPECT_EQ(source.uprightWidth(), 96);
    EXPECT_EQ(source.uprightHeight(), 160);
    ASSERT_TRUE(source.open(decodetest::mediaPath("rotated_180")));
    EXPECT_EQ(source.uprightWidth(), 160);
    EXPECT_EQ(source.uprightHeight(), 96);

    const std::pair<const char*, AVRational> aspects[] = {{"anamorphic", {4, 3}},
                                                          {"anamorphic_rotated", {3, 4}},
                                                          {"unknown_sar", {1, 1}},
                                                          {"h264_mp4", {1, 1}},
                                                          {"mpeg2_mxf", {1, 1}}};
    for (const auto& [medium, aspect] : aspects) {
        ASSERT_TRUE(source.open(decodetest::mediaPath(medium))) << medium;
        EXPECT_EQ(source.uprightPixelAspect().num, aspect.num) << medium;
        EXPECT_EQ(source.uprightPixelAspect().den, aspect.den) << medium;
    }
    source.close();
    EXPECT_EQ(source.uprightPixelAspect().num, 1);
    EXPECT_EQ(source.uprightWidth(), 0);
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
