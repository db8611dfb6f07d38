#include "MediaCatalogue.h"

#include "PoolHolder.h"
#include "ProcessThreads.h"
#include "VideoCacheSupport.h"
#include "cache/DecodingPool.h"
#include "cache/VideoCache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using std::chrono::minutes;
using std::chrono::steady_clock;

// Intra-only footage has a block per frame. Playing through frames already stored moves from
// block to block without asking the pool for anything: each such request used to wake every pool
// thread to find the work done.
TEST(PoolService, steppingThroughStoredFramesOfIntraOnlyFootageQueuesNoWork) {
    video::DecodingPool pool(1);
    VideoCache cache([] {}, pool);
    ASSERT_TRUE(openVideo(cache, testsupport::mediaPath("mjpeg_1080_mov")));
    ASSERT_FALSE(frameOf(cache, 0, 12).empty());
    // The window of 12 frames at frame 0 is frames 0 to 11.
    auto windowStored = [&cache] {
        const video::CachedFrames cached = cache.cachedFrames();
        return !cached.held.empty() && cached.held.front().first == 0 &&
               cached.held.front().last >= 11 && !cache.nextWork();
    };
    const steady_clock::time_point limit = steady_clock::now() + minutes(1);
    while (!windowStored() && steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(windowStored());
    const PoolHolder holder(pool);
    for (int frame = 1; frame <= 2; ++frame) {
        CachingJob job;
        ASSERT_TRUE(cache.addBlockCachingJob(frame, 12, job));
        EXPECT_FALSE(cache.nextWork()) << "frame " << frame << " is stored";
    }
    CachingJob far;
    ASSERT_TRUE(cache.addBlockCachingJob(20, 12, far));
    EXPECT_TRUE(cache.nextWork()) << "frame 20 is not stored";
}

// A node whose shown frame is not decoded yet asks the pool for it as awaited; one whose shown
// frame is there asks for the rest of its window as look-ahead, which the pool serves after. The
// packet scan is a piece of the cache's pool work: in the background it comes after every node's
// look-ahead; a frame asked for past the scanned part makes it as urgent as a frame a refresh
// waits for. The frame then comes exactly, once the pool is free.
TEST(PoolService, aFrameWaitedForIsAwaitedTheWindowAndTheScanLookAhead) {
    const std::string medium = "blocks_of_12_ts";
    const testsupport::ReferenceVideo& reference = testsupport::reference(medium);
    video::DecodingPool pool(1);
    VideoCache ahead([] {}, pool);
    ASSERT_TRUE(openVideo(ahead, testsupport::mediaPath("blocks_of_12")));
    ASSERT_FALSE(frameOf(ahead, 0, 12).empty());
    EXPECT_FALSE(ahead.nextWork()) << "its window is complete";
    VideoCache scanning([] {}, pool);
    scanning.jobQueue().holdScan(40);
    scanning.open(testsupport::mediaPath(medium).c_str());
    ASSERT_EQ(scanning.awaitOpen(farDeadline()), VideoCache::OpenState::kOpen);
    ASSERT_TRUE(awaitScanHeld(scanning));
    EXPECT_FALSE(scanning.nextWork()) << "held";
    {
        const PoolHolder holder(pool);
        CachingJob job;
        ASSERT_TRUE(ahead.addBlockCachingJob(6, 120, job));
        ASSERT_TRUE(ahead.nextWork());
        EXPECT_EQ(ahead.nextWork()->level, video::Urgency::kAhead);
        scanning.jobQueue().holdScan(100000);
        ASSERT_TRUE(scanning.nextWork());
        EXPECT_EQ(scanning.nextWork()->level, video::Urgency::kAhead);
        EXPECT_GT(scanning.nextWork()->distance, 1000000) << "after any look-ahead";
        // Frame 5 lies in a block the scan has settled, not decoded yet.
        ASSERT_TRUE(scanning.addBlockCachingJob(5, 24, job));
        EXPECT_EQ(job.block, 0);
        ASSERT_TRUE(scanning.nextWork());
        EXPECT_EQ(scanning.nextWork()->level, video::Urgency::kAwaited);
        ASSERT_TRUE(scanning.addBlockCachingJob(100, 24, job));
        EXPECT_EQ(job.block, -1);
        ASSERT_TRUE(scanning.nextWork());
        EXPECT_EQ(scanning.nextWork()->level, video::Urgency::kAwaited);
        EXPECT_EQ(scanning.nextWork()->distance, 0);
    }
    EXPECT_EQ(
        frameOf(scanning, 100),
        testsupport::pointSampledRgba(reference.frames[100], reference.width, reference.height, 1));
}

// The pool's threads and one decoder's own threads serve every node: twenty more nodes showing
// their video add no thread.
TEST(PoolService, threadCountDoesNotGrowWithTheNodes) {
    const std::string& path = testsupport::mediaPath("blocks_of_12");
    std::vector<std::unique_ptr<VideoCache>> nodes;
    auto addNode = [&] {
        nodes.push_back(std::make_unique<VideoCache>([] {}));
        ASSERT_TRUE(openVideo(*nodes.back(), path));
        ASSERT_FALSE(frameOf(*nodes.back(), 40).empty());
    };
    addNode();
    const int withOne = threadsOfProcess();
    for (int node = 0; node < 20; ++node) {
        addNode();
    }
    EXPECT_EQ(threadsOfProcess(), withOne);
    // Every node plays on; then all go at once, each waiting only for its own work under way.
    for (int frame = 41; frame < 60; ++frame) {
        for (const std::unique_ptr<VideoCache>& node : nodes) {
            CachingJob job;
            node->addBlockCachingJob(frame * 3, 240, job);
        }
    }
    nodes.clear();
    EXPECT_LE(threadsOfProcess(), withOne);
}

// Intra-only footage is decoded by several decoders side by side: playing and scrubbing show
// the tool's frames, byte for byte. (The decoders alone are checked on more codecs, small, with
// the decoding tests.)
TEST(PoolService, intraOnlyFootageDecodedSideBySideShowsTheToolsFrames) {
    const std::string medium = "mjpeg_1080_mov";
    video::DecodingPool pool(3);
    VideoCache cache([] {}, pool);
    ASSERT_TRUE(openVideo(cache, testsupport::mediaPath(medium)));
    const testsupport::ReferenceVideo& reference = testsupport::reference(medium);
    const int count = static_cast<int>(reference.frames.size());
    std::vector<int> frames;
    for (int frame = 0; frame < count; ++frame) {
        frames.push_back(frame);
    }
    std::mt19937 random(99);
    for (int jump = 0; jump < 10; ++jump) {
        frames.push_back(static_cast<int>(random() % static_cast<unsigned>(count)));
    }
    for (int frame : frames) {
        const std::vector<uint8_t> expected = testsupport::pointSampledRgba(
            reference.frames[static_cast<size_t>(frame)], reference.width, reference.height, 1);
        ASSERT_EQ(frameOf(cache, frame, 12), expected) << "frame " << frame;
    }
    // Every frame is a keyframe: the blocks are decoded by as many decoders side by side.
    const std::unique_lock<std::mutex> lock = cache.openVideo().lock();
    EXPECT_EQ(cache.openVideo().laneDecoders(cache.texelFormat()).size(), 3u);
}

// A node not drawn for a while lets its decoder go, and its charge to the budget; its frames
// stay, and a frame it has not got is decoded by the decoder opened again, exactly.
TEST(PoolService, aDecoderLetGoIsOpenedAgainForTheNextFrame) {
    const std::string medium = "blocks_of_12";
    const testsupport::ReferenceVideo& reference = testsupport::reference(medium);
    auto expected = [&reference](int frame) {
        return testsupport::pointSampledRgba(reference.frames[static_cast<size_t>(frame)],
                                             reference.width, reference.height, 1);
    };
    VideoCache cache([] {});
    ASSERT_TRUE(openVideo(cache, testsupport::mediaPath(medium)));
    ASSERT_EQ(frameOf(cache, 5, 12), expected(5));
    EXPECT_GT(cache.account().bytes(video::Spend::kDecoder), 0u);
    {
        const std::unique_lock<std::mutex> lock = cache.openVideo().lock();
        cache.openVideo().release();
    }
    EXPECT_FALSE(cache.openVideo().source().isOpen());
    EXPECT_EQ(cache.account().bytes(video::Spend::kDecoder), 0u);
    EXPECT_EQ(frameOf(cache, 7, 12), expected(7)) << "kept";
    EXPECT_EQ(frameOf(cache, 200, 12), expected(200)) << "decoded after opening again";
    EXPECT_TRUE(cache.openVideo().source().isOpen());
    EXPECT_GT(cache.account().bytes(video::Spend::kDecoder), 0u);
}

}  // namespace
