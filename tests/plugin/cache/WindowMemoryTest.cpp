#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include <mutex>

namespace {

// However the keyframes fall, the store ends up holding exactly the window around the frame
// shown: the whole blocks within the cacheFrames frames around it, or the part of its block when
// that is longer; frames that left the window are evicted, and no spare is kept beyond it.
struct Window {
    const char* medium;
    int frame;
    int cacheFrames;
    int first;
    int last;
};

class WindowMemory : public SheetFixture, public ::testing::WithParamInterface<const char*> {};

const Window kWindows[] = {
    // A first block of one frame does not widen the window: block 3 is frames 97 to 144.
    {"short_first_block", 120, 48, 97, 144},
    // Twelve-frame blocks: (120 / 12 − 1) / 2 = 4 blocks on each side for 120; the wanted
    // block alone for 0; the whole clip for more than it holds.
    {"blocks_of_12", 125, 120, 72, 179},
    {"blocks_of_12", 125, 60, 96, 155},
    {"blocks_of_12", 125, 0, 125, 125},
    {"blocks_of_12", 125, 240, 0, 239},
    // One block of 480 frames: only the window of it, moved inward at the clip's ends.
    {"single_block", 300, 60, 271, 330},
    {"single_block", 340, 60, 311, 370},
    {"single_block", 479, 60, 420, 479},
    {"single_block", 20, 60, 0, 59},
    {"single_block", 301, 60, 272, 331},
};

TEST_P(WindowMemory, theStoreHoldsTheWindowAroundTheFrameShown) {
    const std::string medium = GetParam();
    const testsupport::ReferenceVideo& reference = testsupport::reference(medium);
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    for (const Window& w : kWindows) {
        if (medium != w.medium) {
            continue;
        }
        SCOPED_TRACE(::testing::Message()
                     << "frame " << w.frame << " cacheFrames " << w.cacheFrames);
        showFrame(sheet, data, testsupport::mediaPath(medium), w.frame, w.cacheFrames);
        EXPECT_EQ(texturePixels(data).bytes,
                  testsupport::pointSampledRgba(reference.frames.at(static_cast<size_t>(w.frame)),
                                                reference.width, reference.height, 1));
        // Windows are placed among the blocks of the whole file, once it is listed; the former
        // window may be full a while after the worker moved on.
        ASSERT_TRUE(sheet.videoCache.awaitListing(farDeadline()));
        ASSERT_TRUE(waitForStore(sheet, [&](const FrameStore::Contents& store) {
            const std::vector<int> stored = storedFrames(store);
            return static_cast<int>(stored.size()) == w.last - w.first + 1 &&
                   stored.front() == w.first && stored.back() == w.last;
        })) << ::testing::PrintToString(storeOf(sheet).read(storedFrames));
        const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
        EXPECT_LE(
            storeOf(sheet).read(storedFrames).size() + storeOf(sheet).frameBuffers()->spareCount(),
            static_cast<size_t>(w.last - w.first + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Media, WindowMemory,
                         ::testing::Values("short_first_block", "blocks_of_12", "single_block"));

}  // namespace
