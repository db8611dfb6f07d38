#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "decode/BlockDecoder.h"
#include "decode/BlockOfFrame.h"
#include "decode/DecoderThreads.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using decodetest::CachedFrames;
using video::BlockDecoder;
using video::VideoSource;

// Asks for one frame alone, as a node kept to its shown frame by the budget does, and keeps it.
int decodeFrame(BlockDecoder& decoder, const VideoSource& source, int frame, CachedFrames& frames,
                const BlockDecoder::StopCheck& stop = {}) {
    const std::vector<int>& starts = source.blockStarts();
    const int block = video::blockOfFrame(starts, starts.size(), frame);
    return decoder.decodeBlocks(
        block, block,
        [&](int at, int slot, const video::CachePicture& picture) {
            frames[static_cast<size_t>(starts[at] + slot)] = decodetest::cacheImageOf(picture, 1);
        },
        stop, [&](int at, int slot) { return starts[at] + slot == frame; });
}

class Stepping : public testing::TestWithParam<std::tuple<const char*, int>> {};

// Stepping one frame at a time through the whole clip gives the tool's frames, with the decoder
// frame-threaded or not, and costs one frame a step: the decoder carries on from each step to
// the next, so each packet is sent about once and the clip is sought once.
TEST_P(Stepping, eachStepCarriesOnAndGivesTheToolsFrame) {
    const auto [medium, threads] = GetParam();
    const video::DecoderThreadsHere pinned(threads);
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath(medium)));
    ASSERT_EQ(source.decoder()->thread_count, threads);
    ASSERT_GT(source.blockCount(), 1);
    const CachedFrames expected = decodetest::expectedFrames(decodetest::reference(medium), 1);
    BlockDecoder decoder(source);
    CachedFrames frames(static_cast<size_t>(source.frameCount()));
    for (int frame = source.blockStarts().front(); frame < source.frameCount(); ++frame) {
        ASSERT_EQ(decodeFrame(decoder, source, frame, frames), 1) << "frame " << frame;
    }
    EXPECT_EQ(decodetest::wrongFrames(frames, expected), "");
    EXPECT_EQ(decoder.seeks(), 1);
    EXPECT_LE(decoder.packetsSent(), static_cast<long>(source.packets().size()));
}

INSTANTIATE_TEST_SUITE_P(MediaKinds, Stepping,
                         testing::Combine(testing::Values("h264_mp4", "open_gop_mp4",
                                                          "trim_mp4_bf3_at_0_3",
                                                          "trim_mov_open_gop_at_1_2", "h264_ts",
                                                          "mpeg4_avi", "vp9_webm"),
                                          testing::Values(1, 3)),
                         [](const testing::TestParamInfo<Stepping::ParamType>& info) {
                             return std::string(std::get<0>(info.param)) + "_threads" +
                                    std::to_string(std::get<1>(info.param));
                         });

// Anything but a step on seeks, and every frame is still the tool's: a frame back, a frame the
// decoder already gave, a block far ahead, a decoder let go and opened again.
TEST(SteppingAway, jumpsBackAndAcrossBlocksSeekAndGiveTheToolsFrames) {
    const char* medium = "open_gop_mp4";
    // Few enough threads that the decoder holds back less than a block.
    const video::DecoderThreadsHere pinned(3);
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath(medium)));
    const std::vector<int>& starts = source.blockStarts();
    ASSERT_GE(source.blockCount(), 4);
    const CachedFrames expected = decodetest::expectedFrames(decodetest::reference(medium), 1);
    BlockDecoder decoder(source);
    const int inSecond = starts[1] + 4;
    const struct {
        int frame;
        bool seeks;
        const char* what;
    } steps[] = {
        {starts[1] + 2, true, "first frame asked for"},
        {starts[1] + 3, false, "a step on"},
        {inSecond, false, "a step on"},
        {starts[1] + 1, true, "a frame back"},
        {starts[1] + 1, true, "the frame given last"},
        {inSecond + 3, false, "a jump on within the block"},
        {starts[3] + 1, true, "a block far ahead"},
        {starts[2], true, "the block before"},
        {starts[2] + 1, false, "a step on"},
    };
    for (const auto& step : steps) {
        CachedFrames frames(static_cast<size_t>(source.frameCount()));
        const long seeks = decoder.seeks();
        ASSERT_EQ(decodeFrame(decoder, source, step.frame, frames), 1) << step.what;
        EXPECT_EQ(frames[step.frame], expected[step.frame]) << step.what << ", " << step.frame;
        EXPECT_EQ(decoder.seeks() - seeks, step.seeks ? 1 : 0) << step.what << ", " << step.frame;
    }
    source.releaseDecoder();
    ASSERT_TRUE(source.restoreDecoder());
    CachedFrames frames(static_cast<size_t>(source.frameCount()));
    const long seeks = decoder.seeks();
    ASSERT_EQ(decodeFrame(decoder, source, starts[2] + 2, frames), 1);
    EXPECT_EQ(frames[starts[2] + 2], expected[starts[2] + 2]);
    EXPECT_EQ(decoder.seeks() - seeks, 1) << "a decoder opened again";
}

// A run stopped at a picture keeps that picture for the next run, which carries on with it.
TEST(SteppingAway, aStoppedRunLosesNoFrame) {
    const char* medium = "h264_mp4";
    VideoSource source;
    ASSERT_TRUE(source.open(decodetest::mediaPath(medium)));
    const CachedFrames expected = decodetest::expectedFrames(decodetest::reference(medium), 1);
    BlockDecoder decoder(source);
    CachedFrames frames(static_cast<size_t>(source.frameCount()));
    ASSERT_EQ(decodeFrame(decoder, source, 3, frames), 1);
    EXPECT_EQ(decodeFrame(decoder, source, 4, frames, [](int) { return true; }), 0);
    EXPECT_TRUE(frames[4].empty());
    ASSERT_EQ(decodeFrame(decoder, source, 4, frames), 1);
    EXPECT_EQ(frames[4], expected[4]);
    EXPECT_EQ(decoder.seeks(), 1);
}

}  // namespace
