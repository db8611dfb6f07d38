#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

struct Refreshes {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    void operator()() {
        const std::lock_guard<std::mutex> lock(mutex);
        ++count;
        changed.notify_all();
    }
    bool waitFor(int expected) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, seconds(30), [&] { return count >= expected; });
    }
    int now() {
        const std::lock_guard<std::mutex> lock(mutex);
        return count;
    }
};

// A file without an index shows the frames of the blocks its scan has settled while the scan is
// held at a known packet; a frame past them waits, and comes with one refresh once the scan,
// let go, gets there. Frame numbers stay as they were shown.
TEST(ScanOnWorker, framesComeAsTheScanSettlesTheirBlocks) {
    const std::string& path = testsupport::mediaPath("blocks_of_12_ts");
    const testsupport::ReferenceVideo& reference = testsupport::reference("blocks_of_12_ts");
    auto expected = [&](int frame) {
        return testsupport::pointSampledRgba(reference.frames[static_cast<size_t>(frame)],
                                             reference.width, reference.height, 1);
    };
    Refreshes refreshes;
    VideoCache cache([&refreshes] { refreshes(); });
    // Two blocks of twelve and the B-frames that follow them.
    cache.jobQueue().holdScan(40);
    cache.open(path.c_str());
    ASSERT_EQ(cache.awaitOpen(farDeadline()), VideoCache::OpenState::kOpen);

    CachingJob early;
    ASSERT_TRUE(cache.addBlockCachingJob(5, 24, early));
    EXPECT_EQ(awaitPixels(cache, early), expected(5));
    ASSERT_TRUE(awaitScanHeld(cache));
    EXPECT_FALSE(cache.awaitListing(Clock::now()));
    const std::vector<int> settled = cache.blockStarts();
    ASSERT_GE(settled.size(), 2u);
    EXPECT_LT(settled.back(), 40);
    EXPECT_EQ(settled[1] - settled[0], 12) << "the keyframe interval is known";

    CachingJob late;
    ASSERT_TRUE(cache.addBlockCachingJob(100, 24, late));
    EXPECT_EQ(late.block, -1);
    EXPECT_TRUE(awaitPixels(cache, late, Clock::now() + milliseconds(20)).empty());
    EXPECT_EQ(refreshes.now(), 0);

    releaseScan(cache);
    ASSERT_TRUE(refreshes.waitFor(1));
    EXPECT_EQ(awaitPixels(cache, late, Clock::now()), expected(100));
    ASSERT_TRUE(cache.awaitListing(farDeadline()));
    std::vector<int> blocks;
    for (int start = 0; start <= 120; start += 12) {
        blocks.push_back(start);
    }
    EXPECT_EQ(cache.blockStarts(), blocks);
    CachingJob again;
    ASSERT_TRUE(cache.addBlockCachingJob(5, 24, again));
    EXPECT_EQ(awaitPixels(cache, again), expected(5));
    EXPECT_EQ(refreshes.now(), 1);
}

// A frame past the end of a file still being scanned is waited for until the scan ends; the
// wait that ran out is then settled with a refresh, and the frame is found outside the clip.
TEST(ScanOnWorker, aFramePastTheEndIsSettledWhenTheScanEnds) {
    Refreshes refreshes;
    VideoCache cache([&refreshes] { refreshes(); });
    cache.jobQueue().holdScan(30);
    cache.open(testsupport::mediaPath("blocks_of_12_ts").c_str());
    ASSERT_EQ(cache.awaitOpen(farDeadline()), VideoCache::OpenState::kOpen);
    CachingJob job;
    ASSERT_TRUE(cache.addBlockCachingJob(500, 24, job));
    EXPECT_TRUE(awaitPixels(cache, job, Clock::now() + milliseconds(20)).empty());
    releaseScan(cache);
    ASSERT_TRUE(refreshes.waitFor(1));
    EXPECT_TRUE(cache.awaitListing(Clock::now()));
    CachingJob outside;
    EXPECT_FALSE(cache.addBlockCachingJob(500, 24, outside));
}

// Another file, a close or the cache's end leave a file being opened, or its scan held or going
// on, at once; the state is that of the last request.
TEST(ScanOnWorker, anOpenOrAScanIsLeftForAnotherFile) {
    VideoCache cache([] {});
    cache.open(testsupport::mediaPath("long_blocks").c_str());
    cache.jobQueue().holdScan(20);
    cache.open(testsupport::mediaPath("blocks_of_12_ts").c_str());
    ASSERT_EQ(cache.awaitOpen(farDeadline()), VideoCache::OpenState::kOpen);
    cache.open(testsupport::mediaPath("blocks_of_12").c_str());
    releaseScan(cache);
    ASSERT_TRUE(cache.awaitListing(farDeadline()));
    EXPECT_EQ(cache.blockStarts().size(), 21u);
    cache.open(testsupport::mediaPath("blocks_of_12_ts").c_str());
    cache.close();
    EXPECT_EQ(cache.awaitOpen(farDeadline()), VideoCache::OpenState::kClosed);
    EXPECT_FALSE(cache.awaitListing(Clock::now()));
    cache.open(testsupport::scratch().file("missing.mp4").c_str());
    EXPECT_EQ(cache.awaitOpen(farDeadline()), VideoCache::OpenState::kFailed);
    cache.open(testsupport::mediaPath("long_blocks").c_str());
}

// Raising the flag leaves a file being read at its next read, however its packets are listed.
TEST(AbandonedOpen, aFileWhoseReadIsAbandonedIsNotOpen) {
    using Listing = video::VideoSource::Listing;
    for (Listing listing : {Listing::indexWhereComplete, Listing::fullScan}) {
        std::atomic<bool> abandon{true};
        video::VideoSource source;
        EXPECT_FALSE(source.open(testsupport::mediaPath("blocks_of_12"), listing, &abandon));
        EXPECT_FALSE(source.isOpen());
        abandon = false;
        EXPECT_TRUE(source.open(testsupport::mediaPath("blocks_of_12"), listing, &abandon));
        // Once open, the flag no longer stops the decoding of blocks.
        abandon = true;
        EXPECT_EQ(source.blockStarts().front(), 0);
    }
}

}  // namespace
