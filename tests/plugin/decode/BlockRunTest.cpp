#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "cache/BlockRun.h"
#include "decode/BlockDecoder.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using decodetest::CachedFrames;
using video::BlockDecoder;
using video::VideoSource;

// Decodes blocks first to last in one run into `frames`; every picture must land in a block of
// the run, in range, once.
int decodeRun(BlockDecoder& decoder, const VideoSource& source, int first, int last,
              CachedFrames& frames, const BlockDecoder::StopCheck& stop = {}) {
    const std::vector<int>& starts = source.blockStarts();
    return decoder.decodeBlocks(
        first, last,
        [&](int block, int slot, const video::CachePicture& picture) {
            ASSERT_TRUE(block >= first && block <= last) << "block " << block;
            ASSERT_TRUE(slot >= 0 && slot < starts[block + 1] - starts[block]) << "slot " << slot;
            std::vector<uint8_t>& frame = frames[starts[block] + slot];
            ASSERT_TRUE(frame.empty()) << "frame " << starts[block] + slot << " came twice";
            frame = decodetest::cacheImageOf(picture, 1);
        },
        stop);
}

class RunExactness : public testing::TestWithParam<const char*> {};

// A run of blocks read on without a seek or a flush between them gives every frame the tool
// gives, as decoding block by block does: the whole file in one run, and runs of three.
TEST_P(RunExactness, everyFrameOfARunMatchesTheToolsDecode) {
    const testsupport::ReferenceVideo& reference = decodetest::reference(GetParam());
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath(GetParam())));
    ASSERT_GT(source.blockCount(), 1);
    const CachedFrames expected = decodetest::expectedFrames(reference, 1);
    BlockDecoder decoder(source);

    CachedFrames whole(source.frameCount());
    EXPECT_EQ(decodeRun(decoder, source, 0, source.blockCount() - 1, whole),
              source.frameCount() - source.blockStarts().front());
    EXPECT_EQ(decodetest::wrongFrames(whole, expected), "") << "one run";

    // From the last runs back to the first, so that each run starts with a seek.
    CachedFrames inThrees(source.frameCount());
    for (int first = (source.blockCount() - 1) / 3 * 3; first >= 0; first -= 3) {
        decodeRun(decoder, source, first, std::min(first + 2, source.blockCount() - 1), inThrees);
    }
    EXPECT_EQ(decodetest::wrongFrames(inThrees, expected), "") << "runs of three";
}

INSTANTIATE_TEST_SUITE_P(MediaKinds, RunExactness,
                         testing::Values("h264_mp4", "open_gop_mp4", "mpeg2_ps", "h264_ts",
                                         "prores_mov", "mjpeg_avi", "keys_0_12_29", "vp9_webm",
                                         "mpeg4_avi", "rotated_90_10bit", "h264_raw",
                                         "trim_mp4_bf3_at_0_3", "trim_mov_open_gop_at_1_2",
                                         "trim_mov_mpeg4_at_0_4"));

// A run gives way to a request for a frame it does not bring where its next block begins, and
// goes on for a request within it; the decoder is left ready for the next run.
TEST(BlockRun, runGivesWayBetweenBlocksOnlyToARequestOutsideIt) {
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath("h264_mp4")));
    ASSERT_GE(source.blockCount(), 3);
    const std::vector<int>& starts = source.blockStarts();
    BlockDecoder decoder(source);
    for (const int waiting : {starts[3] + 1, starts[1]}) {
        CachedFrames frames(source.frameCount());
        video::RunYield yield(0, starts[0], starts[3]);
        std::vector<int> blocksAsked;
        const int stored = decodeRun(decoder, source, 0, 2, frames, [&](int block) {
            if (block >= 0) {
                blocksAsked.push_back(block);
            }
            return yield.stopsAt(block, [waiting] { return waiting; });
        });
        const bool outside = waiting >= starts[3];
        EXPECT_EQ(stored, outside ? starts[1] - starts[0] : starts[3] - starts[0]);
        EXPECT_TRUE(std::is_sorted(blocksAsked.begin(), blocksAsked.end()));
    }
    CachedFrames after(source.frameCount());
    EXPECT_EQ(decodeRun(decoder, source, 1, 1, after), starts[2] - starts[1]);
}

TEST(BlockRun, runTakesInTheFollowingBlocksThatLackFramesUpToTheLast) {
    const std::vector<bool> lacking{true, true, true, false, true, true};
    auto lacks = [&lacking](int block) { return lacking[static_cast<size_t>(block)]; };
    EXPECT_EQ(video::runEnd(0, 5, lacks), 2);
    EXPECT_EQ(video::runEnd(0, 1, lacks), 1);
    EXPECT_EQ(video::runEnd(3, 5, lacks), 5);
    EXPECT_EQ(video::runEnd(5, 5, lacks), 5);
}

TEST(BlockRun, yieldLooksAtRequestsOnlyWhereALaterBlockBegins) {
    video::RunYield yield(4, 40, 70);
    int asked = 0;
    auto outside = [&asked] {
        ++asked;
        return 75;
    };
    EXPECT_FALSE(yield.stopsAt(4, outside));
    EXPECT_FALSE(yield.stopsAt(-1, outside));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(yield.stopsAt(5, [] { return -1; }));
    EXPECT_FALSE(yield.stopsAt(6, [] { return 69; }));
    EXPECT_FALSE(yield.stopsAt(6, outside));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(yield.stopsAt(7, outside));
    EXPECT_TRUE(video::RunYield(4, 40, 70).stopsAt(5, [] { return 39; }));
}

}  // namespace
