#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include "cache/FrameWindow.h"
#include "cache/WindowRule.h"

#include <host/Messages.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

namespace {

class Worker : public SheetFixture {
protected:
    // A draw override with a medium open: by default the twenty 12-frame blocks of
    // "blocks_of_12".
    FootageSheet& makeOpenSheet(const std::string& medium = "blocks_of_12") {
        FootageSheet& sheet = makeSheet();
        EXPECT_TRUE(openVideo(sheet.videoCache, testsupport::mediaPath(medium)));
        return sheet;
    }
};

TEST_F(Worker, framesOutsideEveryBlockAreRejected) {
    // Footage that never opened a file has no worker, so queued jobs stay where they are.
    FootageSheet& sheet = makeSheet();
    ASSERT_FALSE(sheet.videoCache.workerStarted());
    CachingJob job;
    // First keyframe at frame 3; then an empty block at 12.
    storeOf(sheet).setBlockStarts({3, 12, 12, 20});
    EXPECT_FALSE(sheet.videoCache.addBlockCachingJob(2, 1, job));
    EXPECT_TRUE(sheet.videoCache.addBlockCachingJob(3, 1, job));
    EXPECT_EQ(job.block, 0);
    EXPECT_TRUE(sheet.videoCache.addBlockCachingJob(12, 1, job));
    EXPECT_EQ(job.block, 2);
    EXPECT_EQ(job.frameInBlock, 0);
    // A failed open, a video without keyframes, nothing loaded.
    for (const std::vector<int>& starts : {std::vector<int>{0, 0}, std::vector<int>{40, 40},
                                           std::vector<int>{40}, std::vector<int>{}}) {
        storeOf(sheet).setBlockStarts(starts);
        for (int frame : {-1, 0, 39, 40}) {
            EXPECT_FALSE(sheet.videoCache.addBlockCachingJob(frame, 1, job)) << frame;
        }
    }
}

// Blocks are visited from the wanted one outwards, forward first.
TEST(BlockVisits, fromTheWantedOneOutwardsForwardFirst) {
    EXPECT_EQ(video::blockVisitingOrder(8, 12, 10), (std::vector<int>{10, 11, 9, 12, 8}));
    EXPECT_EQ(video::blockVisitingOrder(8, 12, 8), (std::vector<int>{8, 9, 10, 11, 12}));
    EXPECT_EQ(video::blockVisitingOrder(8, 12, 12), (std::vector<int>{12, 11, 10, 9, 8}));
    EXPECT_EQ(video::blockVisitingOrder(3, 3, 3), std::vector<int>{3});
    EXPECT_TRUE(video::blockVisitingOrder(3, 5, 7).empty());
}

// Both caches give frames up by one rule: around frame 15 in the window 10..20, never a frame a
// refresh needs on screen, else the farthest (the earlier of two as far), the window narrowing
// past it; never past the frame asked for.
TEST(WindowRule, theFarthestFrameNotNeededOnScreenGoesFirst) {
    using video::PlayDirection;
    struct Case {
        PlayDirection direction;
        int shown;
        std::vector<int> stored;
        std::optional<int> givenUp;
        int first;
        int last;
    };
    const Case cases[] = {
        {PlayDirection::kForward, 15, {10, 15, 16, 20}, 10, 11, 20},
        {PlayDirection::kBackward, 15, {14, 15, 16}, 16, 10, 15},
        {PlayDirection::kNone, 15, {14, 15, 16}, 14, 15, 20},
        {PlayDirection::kNone, 19, {11, 15, 16, 19, 20}, 11, 12, 20},
        {PlayDirection::kForward, 15, {15, 16}, std::nullopt, 10, 20},
    };
    for (const Case& c : cases) {
        video::WindowRule rule{{10, 20}, 15, c.shown, c.direction};
        const std::optional<int> givenUp = rule.farthest([&c](const auto& offer) {
            for (int frame : c.stored) {
                offer(frame);
            }
        });
        EXPECT_EQ(givenUp, c.givenUp) << "shown " << c.shown;
        if (givenUp) {
            EXPECT_TRUE(rule.narrowPast(*givenUp));
        }
        EXPECT_FALSE(rule.narrowPast(15));
        EXPECT_EQ(rule.window.first, c.first) << "shown " << c.shown;
        EXPECT_EQ(rule.window.last, c.last) << "shown " << c.shown;
    }
}

// The wanted block is decoded first. A newer job for a frame of the block being decoded lets the
// block finish; one for a frame elsewhere (a scrub) or a stop ends it at once, keeping the frames
// stored so far and marking none as undecodable.
TEST_F(Worker, passEndsForANewerJobOrAStop) {
    enum Interruption { kSameBlock, kElsewhere, kStop };
    for (Interruption interruption : {kSameBlock, kElsewhere, kStop}) {
        SCOPED_TRACE(interruption);
        FootageSheet& sheet = makeOpenSheet("long_blocks");
        ASSERT_EQ(sheet.videoCache.blockStarts(), (std::vector<int>{0, 48, 96, 144, 192}));
        CachingJob job;
        // Exactly block 1: frames 48 to 95.
        ASSERT_TRUE(sheet.videoCache.addBlockCachingJob(71, 48, job));
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        bool begun = false;
        bool unfinished = false;
        // Holding the store keeps the worker inside block 1 once it has stored a frame of it.
        auto interrupt = [&](const FrameStore::Contents& store) {
            if (!(store.blocks.count(1) && store.blocks.at(1)[0])) {
                return false;
            }
            EXPECT_EQ(storedBlocks(store), std::vector<int>{1}) << "the wanted block is not first";
            unfinished = store.blocks.at(1)[47] == nullptr;
            if (interruption == kStop) {
                sheet.videoCache.jobQueue().stop();
            } else {
                // The same window, so that the next pass evicts nothing it would need; or the
                // whole clip around frame 170, whose blocks are visited 3, 2, 1, 0.
                sheet.videoCache.jobQueue().push(interruption == kSameBlock
                                                     ? CachingJob{71, 48, 1, 23}
                                                     : CachingJob{170, 192, 3, 26});
            }
            return true;
        };
        while (!(begun = storeOf(sheet).read(interrupt)) &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        ASSERT_TRUE(begun);
        ASSERT_TRUE(unfinished) << "the block was done before the test looked";
        if (interruption == kElsewhere) {
            // Block 1 was left unfinished: the worker comes back to it after blocks 3 and 2.
            bool firstUnfinished = false;
            ASSERT_TRUE(waitForStore(sheet, [&](const FrameStore::Contents& store) {
                firstUnfinished = !blockComplete(store, 1);
                return blockComplete(store, 3);
            }));
            EXPECT_TRUE(firstUnfinished);
            ASSERT_TRUE(waitForStore(sheet, [&](const FrameStore::Contents& store) {
                return blockComplete(store, 0) && blockComplete(store, 1) &&
                       blockComplete(store, 2) && blockComplete(store, 3);
            }));
            EXPECT_EQ(storeOf(sheet).read([](const FrameStore::Contents& store) {
                return store.failedFrames.size();
            }),
                      0u);
        } else {
            const std::unique_lock<std::mutex> decoderLock = sheet.videoCache.openVideo().lock();
            storeOf(sheet).read([&](const FrameStore::Contents& store) {
                EXPECT_EQ(storedBlocks(store), std::vector<int>{1});
                EXPECT_EQ(blockComplete(store, 1), interruption == kSameBlock);
                EXPECT_EQ(store.failedFrames.size(), 0u);
            });
        }
        destroySheet(sheet);
    }
}

// Two nodes whose workers both decode while the artist changes things under them: one node's
// cache resolution changes, the other node's file changes, then the first node is deleted while
// its worker is mid-clip. Every picture shown is still exact and the other node goes on; under
// the sanitizers this is where the worker, the draw thread and the destructor meet.
TEST_F(Worker, nodesChangedAndDeletedWhileBothWorkersDecode) {
    const std::string longBlocks = testsupport::mediaPath("long_blocks");
    const std::string shortBlocks = testsupport::mediaPath("blocks_of_12");
    auto expectShown = [](const CineSheetData& data, const std::string& medium, int frame,
                          int divisor) {
        const testsupport::ReferenceVideo& reference = testsupport::reference(medium);
        EXPECT_EQ(texturePixels(data).bytes,
                  testsupport::pointSampledRgba(reference.frames[frame], reference.width,
                                                reference.height, divisor))
            << medium << " frame " << frame << " at 1/" << divisor;
    };
    // Two blocks of "long_blocks" (more of "blocks_of_12"): after each frame shown the worker
    // decodes on.
    const int window = 96;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        FootageSheet& first = makeSheet();
        FootageSheet& second = makeSheet();
        CineSheetData& firstData = makeData();
        CineSheetData& secondData = makeData();
        showFrame(first, firstData, longBlocks, 10 + round, window);
        showFrame(second, secondData, longBlocks, 100 + round, window);

        setDivisor(first, 2);
        showFrame(first, firstData, longBlocks, 150 + round, window);
        expectShown(firstData, "long_blocks", 150 + round, 2);
        showFrame(second, secondData, shortBlocks, 200 + round, window);
        expectShown(secondData, "blocks_of_12", 200 + round, 1);

        showFrame(first, firstData, longBlocks, 60 + round, window);
        destroySheet(first);
        showFrame(second, secondData, longBlocks, 30 + round, window);
        expectShown(secondData, "long_blocks", 30 + round, 1);
        destroySheet(second);
    }
}

}  // namespace
