#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "decode/DecoderLane.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// Intra-only footage listed from its index is decoded by extra decoders of the same file, block
// by block in any order: each gives the tool's frames, the same as the source's own decoder.
TEST(DecoderLane, intraOnlyBlocksDecodedByAnotherDecoderAreTheToolsFrames) {
    for (const char* medium : {"prores_trimmed_mov", "mjpeg_mov", "dnxhd_bt709"}) {
        video::VideoSource source;
        ASSERT_TRUE(source.open(decodetest::mediaPath(medium))) << medium;
        ASSERT_TRUE(video::decodesBlocksApart(source)) << medium;
        const std::unique_ptr<video::DecoderLane> lane =
            video::DecoderLane::open(decodetest::mediaPath(medium), source);
        ASSERT_TRUE(lane) << medium;
        const std::vector<int>& starts = source.blockStarts();
        auto keep = [&starts](decodetest::CachedFrames& frames) {
            return [&starts, &frames](int block, int slot, const video::CachePicture& picture) {
                frames[static_cast<size_t>(starts[static_cast<size_t>(block)] + slot)] =
                    decodetest::cacheImageOf(picture, 1);
            };
        };
        decodetest::CachedFrames backward(static_cast<size_t>(source.frameCount()));
        for (int block = source.blockCount() - 1; block >= 0; --block) {
            lane->blocks().decodeBlocks(block, block, keep(backward));
        }
        decodetest::CachedFrames inRuns(static_cast<size_t>(source.frameCount()));
        for (int first = 0; first < source.blockCount(); first += 4) {
            lane->blocks().decodeBlocks(first, std::min(first + 3, source.blockCount() - 1),
                                        keep(inRuns));
        }
        const decodetest::CachedFrames expected =
            decodetest::expectedFrames(decodetest::reference(medium), 1);
        EXPECT_EQ(decodetest::wrongFrames(backward, expected), "") << medium << ", backward";
        EXPECT_EQ(decodetest::wrongFrames(inRuns, expected), "") << medium << ", in runs";
    }
}

// Footage with frames that need others is decoded one block run at a time by one decoder.
TEST(DecoderLane, footageWithInterFramesIsNotSharedOut) {
    for (const char* medium : {"h264_mp4", "open_gop_mp4"}) {
        video::VideoSource source;
        ASSERT_TRUE(source.open(decodetest::mediaPath(medium))) << medium;
        EXPECT_FALSE(video::decodesBlocksApart(source)) << medium;
    }
}

}  // namespace
