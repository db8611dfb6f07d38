#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include <cstring>
#include <mutex>

namespace {

class FrameReuse : public SheetFixture {
protected:
    // Footage on "blocks_of_12" whose worker is given no job once the file is open, so that the
    // test alone fills the store.
    FootageSheet& makeIdleOpenSheet() {
        FootageSheet& sheet = makeSheet();
        EXPECT_TRUE(openVideo(sheet.videoCache, testsupport::mediaPath("blocks_of_12")));
        return sheet;
    }

    // What the worker does for a job: set the window (the twelve-frame blocks `block` − radius
    // to `block` + radius, moved inward at the clip's start) and evict what left it.
    static void moveWindow(FootageSheet& sheet, int block, int radius) {
        CachingJob job{12 * block + 5, 12 * (2 * radius + 1), block, 5};
        std::vector<int> active;
        FrameStore::Frames evicted;
        ASSERT_TRUE(storeOf(sheet).setWindow(job, active, evicted));
    }

    static void decode(FootageSheet& sheet, int block) {
        const std::unique_lock<std::mutex> lock = sheet.videoCache.openVideo().lock();
        sheet.videoCache.worker().decodeBlocks(block, block);
    }

    static size_t spares(FootageSheet& sheet) {
        return storeOf(sheet).frameBuffers()->spareCount();
    }

    // Every frame of the block in the store equals the tool's decode reduced by the divisor.
    static void expectBlockExact(FootageSheet& sheet, int block, int divisor) {
        const testsupport::ReferenceVideo& reference = testsupport::reference("blocks_of_12");
        storeOf(sheet).read([&](const FrameStore::Contents& store) {
            ASSERT_TRUE(blockComplete(store, block)) << "block " << block;
            for (int frame = store.blockStarts[block]; frame < store.blockStarts[block + 1];
                 ++frame) {
                const std::vector<uint8_t> expected = testsupport::pointSampledRgba(
                    reference.frames[frame], reference.width, reference.height, divisor);
                const auto& slot = store.blocks.at(block)[frame - store.blockStarts[block]];
                ASSERT_EQ(std::memcmp(slot->pixels(), expected.data(), expected.size()), 0)
                    << "frame " << frame << " at 1/" << divisor;
            }
        });
    }
};

TEST_F(FrameReuse, framesOfAFormerSizeAreNeverReused) {
    FootageSheet& sheet = makeIdleOpenSheet();
    moveWindow(sheet, 0, 2);
    decode(sheet, 0);
    moveWindow(sheet, 5, 2);
    ASSERT_EQ(spares(sheet), 12u);

    // Frames come at a smaller size while full-size spares are kept: the spares go.
    storeOf(sheet).setResolutionDivisor(2);
    decode(sheet, 5);
    EXPECT_EQ(spares(sheet), 0u);
    expectBlockExact(sheet, 5, 2);

    // Back to full size with the half-size block still stored: evicting it keeps nothing, so
    // the next full-size frames cannot land in a buffer too small for them.
    storeOf(sheet).setResolutionDivisor(1);
    decode(sheet, 6);
    moveWindow(sheet, 7, 1);
    EXPECT_EQ(spares(sheet), 0u);
    decode(sheet, 7);
    expectBlockExact(sheet, 7, 1);

    // A new cache resolution empties the store and its spares.
    moveWindow(sheet, 15, 1);
    ASSERT_GT(spares(sheet), 0u);
    sheet.videoCache.setResolutionDivisor(4);
    EXPECT_EQ(spares(sheet), 0u);
    moveWindow(sheet, 15, 1);
    decode(sheet, 15);
    expectBlockExact(sheet, 15, 4);
}

}  // namespace
