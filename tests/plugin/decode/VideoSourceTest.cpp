#include "DecodeMedia.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

namespace {

using video::VideoSource;

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

// Opening another file replaces what was known of the former; closing forgets it all. Frames
// are numbered from the first picture whatever the first time stamp is.
TEST(VideoSource, reopeningReplacesTheFormerVideo) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("prores_mov")));
    EXPECT_EQ(source.keyframeInterval(), 1);
    ASSERT_TRUE(source.open(decodetest::mediaPath("keys_0_12_24")));
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 12, 24, 30}));
    EXPECT_EQ(source.keyframeInterval(), 12);
    EXPECT_EQ(source.width(), 160);
    EXPECT_EQ(source.height(), 120);
    EXPECT_DOUBLE_EQ(source.averageFrameRate(), 24.0);
    ASSERT_TRUE(source.open(decodetest::mediaPath("late_start_mkv")));
    EXPECT_EQ(source.blockStarts().front(), 0);
    EXPECT_NEAR(source.averageFrameRate(), 30000.0 / 1001.0, 1e-9);
    ASSERT_TRUE(source.open(decodetest::mediaPath("anamorphic_rotated")));
    EXPECT_EQ(source.uprightPixelAspect().num, 3);
    source.close();
    EXPECT_FALSE(source.isOpen());
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 0}));
    EXPECT_EQ(source.keyframeInterval(), 0);
    EXPECT_EQ(source.uprightWidth(), 0);
    EXPECT_EQ(source.uprightPixelAspect().num, 1);
    EXPECT_EQ(source.uprightPixelAspect().den, 1);
}

}  // namespace
