#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "decode/BlockDecoder.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

using video::BlockDecoder;
using video::VideoSource;

using decodetest::CachedFrames;
using decodetest::expectedFrames;
using decodetest::wrongFrames;

void decodeBlocks(const VideoSource& source, const std::vector<int>& blockOrder, int divisor,
                  CachedFrames& frames) {
    BlockDecoder decoder(source);
    for (int block : blockOrder) {
        const int count = source.blockStarts()[block + 1] - source.blockStarts()[block];
        decoder.decodeBlocks(
            block, block, [&](int delivered, int slot, const video::CachePicture& picture) {
                ASSERT_EQ(delivered, block);
                ASSERT_TRUE(slot >= 0 && slot < count) << "slot " << slot << " of " << count;
                frames[source.blockStarts()[block] + slot] =
                    decodetest::cacheImageOf(picture, divisor);
            });
    }
}

struct Case {
    const char* medium;
    int divisor;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.medium << "/" << c.divisor;
}

class FrameExactness : public testing::TestWithParam<Case> {};

// Every frame, block by block, in file order and in a shuffled order, is the tool's frame.
TEST_P(FrameExactness, everyFrameMatchesTheToolsDecode) {
    const Case& c = GetParam();
    const testsupport::ReferenceVideo& reference = decodetest::reference(c.medium);
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath(c.medium)));
    ASSERT_EQ(source.uprightWidth(), reference.width);
    ASSERT_EQ(source.uprightHeight(), reference.height);
    ASSERT_EQ(source.frameCount(), static_cast<int>(reference.frames.size()));
    ASSERT_GT(source.blockCount(), 0);
    ASSERT_EQ(source.blockStarts().front(), 0);

    const CachedFrames expected = expectedFrames(reference, c.divisor);
    std::vector<int> order(source.blockCount());
    std::iota(order.begin(), order.end(), 0);
    CachedFrames inFileOrder(source.frameCount());
    decodeBlocks(source, order, c.divisor, inFileOrder);
    EXPECT_EQ(wrongFrames(inFileOrder, expected), "") << "blocks decoded in order";

    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    CachedFrames scrubbed(source.frameCount());
    decodeBlocks(source, order, c.divisor, scrubbed);
    EXPECT_EQ(wrongFrames(scrubbed, expected), "") << "blocks decoded shuffled";
}

INSTANTIATE_TEST_SUITE_P(
    MediaKinds, FrameExactness,
    testing::Values(
        Case{"h264_mp4", 1}, Case{"h264_mp4", 2}, Case{"mpeg2_ps", 1}, Case{"mpeg2_intra_ps", 1},
        Case{"h264_ts", 1}, Case{"h263_3gp", 1}, Case{"flv1_flv", 1}, Case{"open_gop_mp4", 1},
        Case{"late_start_mkv", 1}, Case{"prores_mov", 1}, Case{"mjpeg_avi", 1},
        Case{"mjpeg_avi", 2}, Case{"mpeg4_avi", 1}, Case{"dnxhd_bt709", 1}, Case{"h264_aac_mov", 1},
        Case{"vp9_webm", 1}, Case{"h264_raw", 1}, Case{"odd_1921x1081", 2}, Case{"wide_1366", 4},
        Case{"keys_0_12_29", 1}, Case{"mpeg1_mpg", 1}, Case{"mpeg1_mpg", 2}, Case{"h264_m4v", 1},
        Case{"h264_m4v", 2}, Case{"mpeg4_raw_m4v", 1}, Case{"mpeg4_raw_m4v", 2},
        Case{"mpeg2_ts", 1}, Case{"mpeg2_ts", 2}, Case{"h264_mts", 1}, Case{"h264_mts", 2},
        Case{"h264_ac3_m2ts", 1}, Case{"h264_ac3_m2ts", 2}, Case{"mpeg2_mxf", 1},
        Case{"mpeg2_mxf", 2}, Case{"wmv2_wmv", 1}, Case{"wmv2_wmv", 2}, Case{"theora_ogv", 1},
        Case{"theora_ogv", 2}, Case{"raw_y4m", 1}, Case{"raw_y4m", 2}, Case{"rotated_90", 1},
        Case{"rotated_90", 2}, Case{"rotated_90", 4}, Case{"rotated_180", 1},
        Case{"rotated_180", 2}, Case{"rotated_270", 1}, Case{"rotated_270", 4},
        Case{"rotated_90_10bit", 1}, Case{"rotated_90_10bit", 2}, Case{"rotated_180_10bit", 1},
        Case{"rotated_270_444_10bit", 1}, Case{"rotated_90_422_10bit", 1},
        Case{"anamorphic_rotated", 1}, Case{"anamorphic_rotated", 2},
        Case{"trim_mov_bf3_at_0_3", 1}, Case{"trim_mov_bf3_at_0_3", 2},
        Case{"trim_mp4_bf3_at_0_3", 1}, Case{"trim_mp4_bf3_at_0_3", 4},
        Case{"trim_mov_bf2_at_0_5", 1}, Case{"trim_mp4_bf3_at_0_9", 1},
        Case{"trim_mp4_bf3_at_0_9", 2}, Case{"trim_mp4_no_bf_at_0_7", 1},
        Case{"trim_mov_no_bf_at_0_55", 1}, Case{"trim_mov_no_bf_at_0_55", 4},
        Case{"trim_mov_open_gop_at_1_2", 1}, Case{"trim_mov_mpeg4_at_0_4", 1},
        Case{"trim_mov_mpeg4_at_0_4", 2}, Case{"mjpeg_mov", 1}, Case{"prores_trimmed_mov", 1},
        Case{"prores_trimmed_mov", 2}),
    [](const testing::TestParamInfo<Case>& info) {
        return std::string(info.param.medium) + "_d" + std::to_string(info.param.divisor);
    });

}  // namespace
