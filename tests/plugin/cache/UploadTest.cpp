#include "CacheMedia.h"
#include "SheetFixture.h"

#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <vector>

namespace {

using FrameShown = std::future<bool>;

// Asks the sheet's cache for `frame` (a window of one block) from a thread of its own, as
// another refresh would, and waits for it to be stored.
FrameShown awaitElsewhere(FootageSheet& sheet, int frame) {
    return std::async(std::launch::async, [&sheet, frame] {
        CachingJob job;
        return sheet.videoCache.addBlockCachingJob(frame, 12, job) &&
               sheet.videoCache.awaitFrame(
                   job, [](const unsigned char*) { return true; }, farDeadline());
    });
}

// Bytes of the frames stored, the spare buffers and `held` frames handed out: what the cache's
// account counts while its worker is not storing. Call with the decoder lock held.
size_t expectedFrameBytes(FootageSheet& sheet, size_t frameBytes, size_t held) {
    return storeOf(sheet).read([&](const FrameStore::Contents& store) {
        return (storedFrames(store).size() + storeOf(sheet).frameBuffers()->spareCount() + held) *
               frameBytes;
    });
}

using Upload = SheetFixture;

// While the drawing thread copies a frame out, the store is not locked: the worker moves the
// window far away, evicting the frame being copied, and stores the new window's frames. The frame
// copied stays whole and counted until the copy lets go of it.
TEST_F(Upload, TheWorkerStoresOnWhileAFrameIsCopiedAndTheEvictedFrameStaysWhole) {
    const testsupport::ReferenceVideo& reference = cachetest::reference("blocks_of_12");
    const size_t frameBytes = static_cast<size_t>(reference.width * reference.height * 4);
    const std::vector<uint8_t> expected =
        testsupport::pointSampledRgba(reference.frames[5], reference.width, reference.height, 1);
    FootageSheet& sheet = makeSheet();
    ASSERT_TRUE(openVideo(sheet.videoCache, cachetest::mediaPath("blocks_of_12")));
    const video::BudgetAccount& account = sheet.videoCache.account();
    CachingJob job;
    ASSERT_TRUE(sheet.videoCache.addBlockCachingJob(5, 12, job));

    bool storedMeanwhile = false;
    auto copy = [&](const unsigned char* pixels) {
        FrameShown far = awaitElsewhere(sheet, 197);
        // A store left locked would keep the other refresh waiting for good: the limit only
        // keeps a failing run from hanging.
        storedMeanwhile =
            far.wait_for(std::chrono::minutes(1)) == std::future_status::ready && far.get();
        if (!storedMeanwhile) {
            return false;
        }
        {
            const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
            storeOf(sheet).read([](const FrameStore::Contents& store) {
                EXPECT_FALSE(blockComplete(store, 0)) << "the window left block 0";
                EXPECT_TRUE(blockComplete(store, 16));
            });
            EXPECT_EQ(account.bytes(video::Spend::kFrames),
                      expectedFrameBytes(sheet, frameBytes, 1));
        }
        EXPECT_EQ(std::memcmp(pixels, expected.data(), expected.size()), 0);
        return true;
    };
    EXPECT_TRUE(sheet.videoCache.awaitFrame(job, copy, farDeadline()));
    EXPECT_TRUE(storedMeanwhile);

    const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
    EXPECT_EQ(account.bytes(video::Spend::kFrames), expectedFrameBytes(sheet, frameBytes, 0));
}

}  // namespace
