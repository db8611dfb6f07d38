#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include <chrono>
#include <mutex>

namespace {

// However the keyframes fall, the store holds the cacheFrames frames around the wanted one.
class WindowMemory : public SheetFixture {
protected:
    // Shows the frame, checks it against the tool's decode, waits until the worker has filled
    // its window (the former window may be full a while after the worker moved on) and returns
    // the frames stored.
    std::vector<int> showAndSettle(FootageSheet& sheet, CineSheetData& data,
                                   const std::string& medium, int frame, int cacheFrames) {
        const testsupport::ReferenceVideo& reference = testsupport::reference(medium);
        showFrame(sheet, data, testsupport::mediaPath(medium), frame, cacheFrames);
        EXPECT_EQ(texturePixels(data).bytes,
                  testsupport::pointSampledRgba(reference.frames.at(static_cast<size_t>(frame)),
                                                reference.width, reference.height, 1))
            << medium << " frame " << frame;
        EXPECT_TRUE(waitForStore(sheet,
                                 [&](const FrameStore::Contents& store) {
                                     const std::vector<int> stored = storedFrames(store);
                                     const video::FrameWindow& window = store.window;
                                     return static_cast<int>(stored.size()) == cacheFrames &&
                                            window.contains(frame) &&
                                            stored.front() == window.first &&
                                            stored.back() == window.last;
                                 }))
            << medium << " frame " << frame;
        return storeOf(sheet).read(storedFrames);
    }
};

TEST_F(WindowMemory, shortFirstBlockDoesNotWidenTheWindow) {
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    // The 48 frames around frame 120 are block 3 (97 to 144), not the whole file.
    const std::vector<int> stored = showAndSettle(sheet, data, "short_first_block", 120, 48);
    EXPECT_EQ(stored.front(), 97);
    EXPECT_EQ(stored.back(), 144);
    // The blocks past the window may still be being listed.
    ASSERT_TRUE(sheet.videoCache.awaitListing(farDeadline()));
    EXPECT_EQ(sheet.videoCache.blockStarts(), (std::vector<int>{0, 1, 49, 97, 145, 193, 240}));
    EXPECT_EQ(storeOf(sheet).frameBuffers()->spareCount(), 0u);
}

TEST_F(WindowMemory, singleLongBlockStoresOnlyTheWindow) {
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    for (int frame : {300, 310, 340, 460, 479, 20, 301}) {
        const std::vector<int> stored = showAndSettle(sheet, data, "single_block", frame, 60);
        ASSERT_EQ(stored.size(), 60u) << frame;
        EXPECT_LE(stored.front(), frame);
        EXPECT_GE(stored.back(), frame);
        EXPECT_LE(storeOf(sheet).frameBuffers()->spareCount() + stored.size(), 60u);
    }
}

}  // namespace
