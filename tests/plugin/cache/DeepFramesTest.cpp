#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include <utility>

namespace {

// The frames and the decoder of a clip as the node's budget account charges them once the whole
// clip is stored at `depth`.
class DeepFrames : public SheetFixture {
protected:
    static constexpr int kFrames = 12;

    std::pair<size_t, size_t> chargedAt(FootageSheet& sheet, CineSheetData& data,
                                        const std::string& clip, decode::CacheDepth depth) {
        sheet.depth = depth;
        EXPECT_EQ(showFrame(sheet, data, clip, 0, kFrames), FootageAnswer::kShown);
        EXPECT_TRUE(waitForStore(sheet, [](const FrameStore::Contents& store) {
            return storedFrames(store).size() == static_cast<size_t>(kFrames);
        }));
        const video::BudgetAccount& account = sheet.videoCache.account();
        return {account.bytes(video::Spend::kFrames), account.bytes(video::Spend::kDecoder)};
    }

    static std::string clip(const std::string& name, const std::string& encoding) {
        const std::string file = testsupport::scratch().file(name);
        testsupport::makeMedia("-f lavfi -i testsrc2=s=64x48:r=24 -frames:v " +
                                   std::to_string(kFrames) + " " + encoding,
                               file);
        return file;
    }
};

// A 10-bit clip at Half: every frame and the texture take 8 bytes a pixel, the decoder's
// conversion picture twice the RGB24 one; back at Auto the charges are those of before. An
// 8-bit clip is charged the same at either depth.
TEST_F(DeepFrames, halfDoublesWhatTheFramesAndTheConversionAreCharged) {
    const std::string deep = clip("deep.mov", "-c:v prores_ks -profile:v 3 -pix_fmt yuv422p10le");
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const auto eightBit = chargedAt(sheet, data, deep, decode::CacheDepth::kAuto);
    EXPECT_EQ(eightBit.first, static_cast<size_t>(kFrames) * 64 * 48 * 4);
    EXPECT_EQ(texturePixels(data).bytes.size(), static_cast<size_t>(64 * 48 * 4));

    const auto half = chargedAt(sheet, data, deep, decode::CacheDepth::kHalf);
    EXPECT_EQ(half.first, static_cast<size_t>(kFrames) * 64 * 48 * 8);
    EXPECT_EQ(half.second - eightBit.second, static_cast<size_t>(64 * 48 * 3));
    EXPECT_EQ(texturePixels(data).bytes.size(), static_cast<size_t>(64 * 48 * 8));

    EXPECT_EQ(chargedAt(sheet, data, deep, decode::CacheDepth::kAuto), eightBit);

    const std::string ordinary = clip("ordinary.mp4", "-c:v libx264 -pix_fmt yuv420p");
    const auto ordinaryAuto = chargedAt(sheet, data, ordinary, decode::CacheDepth::kAuto);
    EXPECT_EQ(chargedAt(sheet, data, ordinary, decode::CacheDepth::kHalf), ordinaryAuto);
    EXPECT_EQ(ordinaryAuto.first, static_cast<size_t>(kFrames) * 64 * 48 * 4);
}

}  // namespace
