#include "MediaCatalogue.h"
#include "SheetFixture.h"
#include "draw/PlaceholderCard.h"

#include <host/Textures.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

using testsupport::ReferenceVideo;

class VideoFrames : public SheetFixture {
protected:
    // Shows each frame in turn, as playing or scrubbing does, and compares the texture with the
    // tool's decode reduced like the cache reduces it.
    void expectFrames(const std::string& medium, int divisor, const std::vector<int>& frames,
                      int cacheFrames = 120) {
        const ReferenceVideo& reference = testsupport::reference(medium);
        const std::string& path = testsupport::mediaPath(medium);
        FootageSheet& sheet = makeSheet();
        CineSheetData& data = makeData();
        setDivisor(sheet, divisor);
        for (int frame : frames) {
            showFrame(sheet, data, path, frame, cacheFrames);
            // Files without an index are shown while their scan goes on.
            ASSERT_TRUE(sheet.videoCache.awaitListing(farDeadline()));
            ASSERT_EQ(sheet.videoCache.blockStarts().back(),
                      static_cast<int>(reference.frames.size()));
            const TexturePixels pixels = texturePixels(data);
            ASSERT_EQ(pixels.width, std::max(1, reference.width / divisor));
            ASSERT_EQ(pixels.height, std::max(1, reference.height / divisor));
            ASSERT_TRUE(pixels.bytes == testsupport::pointSampledRgba(reference.frames[frame],
                                                                      reference.width,
                                                                      reference.height, divisor))
                << medium << " frame " << frame << " at 1/" << divisor;
        }
    }

    static std::vector<int> allFrames(const std::string& medium) {
        std::vector<int> frames(testsupport::reference(medium).frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            frames[i] = static_cast<int>(i);
        }
        return frames;
    }

    static std::vector<int> scrubbing(const std::string& medium, int count) {
        const int frameCount = static_cast<int>(testsupport::reference(medium).frames.size());
        std::mt19937 random(1234);
        std::vector<int> frames;
        for (int i = 0; i < count; ++i) {
            frames.push_back(static_cast<int>(random() % frameCount));
        }
        frames.push_back(frameCount - 1);
        frames.push_back(0);
        return frames;
    }
};

// Every kind of video and every video name, turned, cut or of odd sizes: played and scrubbed at
// the divisors given. However small the divisor makes it, a picture keeps its top-left pixel.
struct Kind {
    const char* medium;
    int playDivisor;
    int scrubDivisor;
};

class EveryKindOfVideo : public VideoFrames, public ::testing::WithParamInterface<Kind> {};

TEST_P(EveryKindOfVideo, playingAndScrubbingShowEveryFrameExactly) {
    expectFrames(GetParam().medium, GetParam().playDivisor, allFrames(GetParam().medium));
    expectFrames(GetParam().medium, GetParam().scrubDivisor, scrubbing(GetParam().medium, 12));
}

INSTANTIATE_TEST_SUITE_P(
    Media, EveryKindOfVideo,
    ::testing::Values(Kind{"h264_mp4", 1, 4}, Kind{"mpeg2_ps", 1, 1}, Kind{"open_gop_mp4", 1, 1},
                      Kind{"late_start_mkv", 1, 1}, Kind{"prores_mov", 1, 1},
                      Kind{"mjpeg_avi", 1, 1}, Kind{"h264_aac_mov", 1, 1},
                      Kind{"h264_bframes_avi", 1, 1}, Kind{"pal8_avi", 1, 1},
                      Kind{"prores422_1080_mov", 1, 1}, Kind{"mjpeg_1080_mov", 1, 1},
                      Kind{"h264_uhd_mp4", 1, 1}, Kind{"mpeg1_mpg", 1, 2}, Kind{"h264_m4v", 1, 2},
                      Kind{"mpeg4_raw_m4v", 1, 2}, Kind{"mpeg2_ts", 1, 2}, Kind{"h264_mts", 1, 2},
                      Kind{"h264_ac3_m2ts", 1, 2}, Kind{"mpeg2_mxf", 1, 2}, Kind{"wmv2_wmv", 1, 2},
                      Kind{"theora_ogv", 1, 2}, Kind{"raw_y4m", 1, 2}, Kind{"rotated_90", 4, 1},
                      Kind{"rotated_180", 1, 1}, Kind{"rotated_270", 1, 2},
                      Kind{"rotated_90_10bit", 1, 1}, Kind{"trim_mp4_bf3_at_0_3", 1, 2},
                      Kind{"trim_mov_mpeg4_at_0_4", 1, 2}, Kind{"odd_1921x1081", 2, 2},
                      Kind{"wide_1366", 4, 4}, Kind{"one_pixel", 1, 4}));

// Intra-only footage is one block per frame. After a far jump back, and again after one ahead,
// playing on with a short window reads block after block as the playhead moves; each must land
// on its own frame.
TEST_F(VideoFrames, playingOnAfterAFarJumpReadsConsecutiveBlocksExactly) {
    const std::vector<int> frames{20, 21, 2,  3,  4,  5,  6,  7,  8,  9,
                                  10, 11, 12, 17, 18, 19, 20, 21, 22, 23};
    for (const char* medium : {"prores422_1080_mov", "mjpeg_1080_mov"}) {
        ASSERT_EQ(testsupport::reference(medium).frames.size(), 24u) << medium;
        expectFrames(medium, 1, frames, 4);
    }
}

using BadFiles = SheetFixture;

// A missing file, and one the decoder refuses (sound alone in a container named like a video; the
// decoding tests check every kind), close the former file and show the card, with nothing
// left loaded; going back to that file opens it again.
TEST_F(BadFiles, aMissingOrRefusedFileShowsTheCardUntilTheFormerFileComesBack) {
    const ReferenceVideo& reference = testsupport::reference("h264_mp4");
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const std::vector<uint8_t> expected =
        testsupport::pointSampledRgba(reference.frames[30], reference.width, reference.height, 1);
    const std::string refused = testsupport::scratch().file("sound.mp4");
    testsupport::writeFile(refused, testsupport::readFile(testsupport::mediaPath("audio_only")));
    for (const std::string& bad : {testsupport::scratch().file("missing.mp4"), refused}) {
        ASSERT_EQ(showFrame(sheet, data, testsupport::mediaPath("h264_mp4"), 30),
                  FootageAnswer::kShown);
        ASSERT_EQ(texturePixels(data).bytes, expected);
        showFrame(sheet, data, bad, 30);
        showFrame(sheet, data, bad, 5);
        const TexturePixels pixels = texturePixels(data);
        EXPECT_TRUE(data.texture().isCard()) << bad;
        EXPECT_EQ(pixels.bytes, cardPixels(pixels.width, pixels.height)) << bad;
        EXPECT_EQ(sheet.videoCache.blockStarts(), (std::vector<int>{0, 0})) << bad;
        EXPECT_TRUE(sheet.loadedNothing()) << bad;
        EXPECT_EQ(storeOf(sheet).facts().streamIndex, -1) << bad;
    }
    showFrame(sheet, data, testsupport::mediaPath("h264_mp4"), 30);
    EXPECT_TRUE(texturePixels(data).bytes == expected);
}

// A frame whose buffer cannot be allocated fails its request at once instead of waiting.
TEST_F(BadFiles, framesThatCannotBeStoredFailAtOnce) {
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const LoadedMedium medium{16, 16, AVRational{1, 1}, 12};
    sheet.gamma.setGamma(1.0f);
    FrameStore& store = storeOf(sheet);
    store.setBlockStarts({100, 112});
    store.startRun(0, 0, 100);
    constexpr size_t bytes = 16 * 16 * 4;
    auto put = [&store](int block, int slot, bool allocated) {
        video::FrameRef image;
        if (allocated) {
            auto frame = video::CachedFrame::make(store.frameBuffers(), bytes);
            std::memset(frame->pixels(), 200, bytes);
            image = std::move(frame);
        }
        return store.putFrame(block, slot, image);
    };
    auto failed = [&store] {
        return store.read(
            [](const FrameStore::Contents& contents) { return contents.failedFrames; });
    };
    // No buffer: the allocation failed.
    EXPECT_FALSE(put(0, 3, false));
    EXPECT_EQ(failed(), std::vector<int>{103});
    EXPECT_FALSE(put(0, 12, true));
    EXPECT_FALSE(put(1, 0, true));
    EXPECT_TRUE(put(0, 4, true));
    EXPECT_EQ(failed(), std::vector<int>{103});
    auto show = [&](const unsigned char* pixels) { return upload(sheet, data, pixels, medium, 1); };
    EXPECT_FALSE(sheet.videoCache.awaitFrame(CachingJob{103, 1, 0, 3}, show, farDeadline()));
    EXPECT_TRUE(sheet.videoCache.awaitFrame(CachingJob{104, 1, 0, 4}, show, farDeadline()));
    EXPECT_EQ(texturePixels(data).bytes[4], 200);
    EXPECT_FALSE(sheet.videoCache.awaitFrame(CachingJob{104, 1, 5, 4}, show, farDeadline()));
}

}  // namespace
