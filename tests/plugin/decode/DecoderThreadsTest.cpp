#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "decode/BlockDecoder.h"
#include "decode/DecoderThreads.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Sets CINESHEET_DECODER_THREADS while it lives.
class PinnedThreads {
public:
    explicit PinnedThreads(const std::string& threads) {
        setenv("CINESHEET_DECODER_THREADS", threads.c_str(), 1);
    }
    ~PinnedThreads() { unsetenv("CINESHEET_DECODER_THREADS"); }
    PinnedThreads(const PinnedThreads&) = delete;
    PinnedThreads& operator=(const PinnedThreads&) = delete;
};

TEST(DecoderThreads, settingPinsTheCountOrLeavesItToTheMachine) {
    EXPECT_EQ(video::decoderThreadCount("1"), 1);
    EXPECT_EQ(video::decoderThreadCount("3"), 3);
    EXPECT_EQ(video::decoderThreadCount("64"), 64);
    for (const char* other : {"", "0", "-2", "65", "2x", "many"}) {
        EXPECT_EQ(video::decoderThreadCount(other), 0) << "'" << other << "'";
    }
    EXPECT_EQ(video::decoderThreadCount(nullptr), 0);
}

// Whatever the thread count, every frame lands in its own slot with the tool's pixels, block by
// block after seeks (runs and steps at either count are the run and stepping suites').
TEST(DecoderThreads, pinnedCountsGiveTheSameFrames) {
    for (const char* medium : {"h264_mp4", "open_gop_mp4", "prores_mov"}) {
        for (const char* threads : {"1", "3"}) {
            const PinnedThreads pinned(threads);
            video::VideoSource source;
            ASSERT_TRUE(source.open(decodetest::mediaPath(medium)));
            EXPECT_EQ(source.decoder()->thread_count, std::atoi(threads));
            const std::vector<int>& starts = source.blockStarts();
            video::BlockDecoder decoder(source);
            decodetest::CachedFrames frames(source.frameCount());
            for (int block = source.blockCount() - 1; block >= 0; --block) {
                decoder.decodeBlocks(
                    block, block, [&](int at, int slot, const video::CachePicture& picture) {
                        frames[starts[at] + slot] = decodetest::cacheImageOf(picture, 1);
                    });
            }
            EXPECT_EQ(decodetest::wrongFrames(
                          frames, decodetest::expectedFrames(decodetest::reference(medium), 1)),
                      "")
                << medium << ", " << threads << " threads";
        }
    }
}

}  // namespace
