#include "MediaCatalogue.h"
#include "SheetFixture.h"
#include "draw/PlaceholderCard.h"

#include <host/Textures.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <vector>

namespace {

using testsupport::ReferenceVideo;

// Where two pictures first differ, for a readable failure.
std::string firstDifference(const std::vector<uint8_t>& got, const std::vector<uint8_t>& expected) {
    if (got.size() != expected.size()) {
        std::ostringstream text;
        text << got.size() << " bytes instead of " << expected.size();
        return text.str();
    }
    auto mismatch = std::mismatch(got.begin(), got.end(), expected.begin());
    if (mismatch.first == got.end()) {
        return "";
    }
    std::ostringstream text;
    text << "byte " << (mismatch.first - got.begin()) << " is " << int(*mismatch.first)
         << " instead of " << int(*mismatch.second);
    return text.str();
}

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
            ASSERT_EQ(pixels.width, reference.width / divisor);
            ASSERT_EQ(pixels.height, reference.height / divisor);
            const std::string difference = firstDifference(
                pixels.bytes,
                testsupport::pointSampledRgba(reference.frames[frame], reference.width,
                                              reference.height, divisor));
            ASSERT_EQ(difference, "") << medium << " frame " << frame << " at 1/" << divisor;
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

// Every kind of video and every video name: played at Full, scrubbed at the divisor given.
struct Kind {
    const char* medium;
    int scrubDivisor;
};

class EveryKindOfVideo : public VideoFrames, public ::testing::WithParamInterface<Kind> {};

TEST_P(EveryKindOfVideo, playingAndScrubbingShowEveryFrameExactly) {
    expectFrames(GetParam().medium, 1, allFrames(GetParam().medium));
    expectFrames(GetParam().medium, GetParam().scrubDivisor, scrubbing(GetParam().medium, 12));
}

INSTANTIATE_TEST_SUITE_P(
    Media, EveryKindOfVideo,
    ::testing::Values(Kind{"h264_mp4", 1}, Kind{"mpeg2_ps", 1}, Kind{"open_gop_mp4", 1},
                      Kind{"late_start_mkv", 1}, Kind{"prores_mov", 1}, Kind{"mjpeg_avi", 1},
                      Kind{"h264_aac_mov", 1}, Kind{"h264_bframes_avi", 1}, Kind{"pal8_avi", 1},
                      Kind{"prores422_1080_mov", 1}, Kind{"mjpeg_1080_mov", 1},
                      Kind{"h264_uhd_mp4", 1}, Kind{"mpeg1_mpg", 2}, Kind{"h264_m4v", 2},
                      Kind{"mpeg4_raw_m4v", 2}, Kind{"mpeg2_ts", 2}, Kind{"h264_mts", 2},
                      Kind{"h264_ac3_m2ts", 2}, Kind{"mpeg2_mxf", 2}, Kind{"wmv2_wmv", 2},
                      Kind{"theora_ogv", 2}, Kind{"raw_y4m", 2}));

// Intra-only footage is one block per frame. After a far jump back, and again after one ahead,
// playing on with a short window reads block after block as the playhead moves; each must land
// on its own frame.
TEST_F(VideoFrames, playingOnAfterAFarJumpReadsConsecutiveBlocksExactly) {
    std::vector<int> frames{20, 21, 2};
    for (int frame = 3; frame <= 12; ++frame) {
        frames.push_back(frame);
    }
    for (int frame = 17; frame <= 23; ++frame) {
        frames.push_back(frame);
    }
    for (const char* medium : {"prores422_1080_mov", "mjpeg_1080_mov"}) {
        ASSERT_EQ(testsupport::reference(medium).frames.size(), 24u) << medium;
        expectFrames(medium, 1, frames, 4);
    }
}

// However small the divisor makes it, a picture keeps at least one pixel: the top-left one.
TEST_F(VideoFrames, onePixelClipKeepsItsPixelAtEveryResolution) {
    const ReferenceVideo& reference = testsupport::reference("one_pixel");
    ASSERT_EQ(reference.frames.size(), 6u);
    for (int divisor : {1, 2, 4}) {
        FootageSheet& sheet = makeSheet();
        CineSheetData& data = makeData();
        setDivisor(sheet, divisor);
        ASSERT_EQ(showFrame(sheet, data, testsupport::mediaPath("one_pixel"), 3),
                  FootageAnswer::kShown)
            << divisor;
        const TexturePixels pixels = texturePixels(data);
        ASSERT_EQ(pixels.width, 1) << divisor;
        ASSERT_EQ(pixels.height, 1) << divisor;
        const std::vector<uint8_t>& rgb = reference.frames[3];
        EXPECT_EQ(pixels.bytes, (std::vector<uint8_t>{rgb[0], rgb[1], rgb[2], 255})) << divisor;
    }
}

// Phone video is cached and shown upright, 8- and 10-bit alike, at every resolution.
TEST_F(VideoFrames, turnedVideoIsShownUpright) {
    expectFrames("rotated_90", 4, allFrames("rotated_90"));
    expectFrames("rotated_180", 1, scrubbing("rotated_180", 8));
    expectFrames("rotated_270", 2, scrubbing("rotated_270", 8));
    expectFrames("rotated_90_10bit", 1, scrubbing("rotated_90_10bit", 8));
}

// A clip cut without re-encoding shows the tool's frames from the very first one, whether
// played from the start or scrubbed into its head.
TEST_F(VideoFrames, cutClipsShowEveryFrameFromTheFirst) {
    for (const char* medium : {"trim_mp4_bf3_at_0_3", "trim_mov_mpeg4_at_0_4"}) {
        expectFrames(medium, 1, allFrames(medium));
        expectFrames(medium, 2, {20, 3, 0, 1, 30, 2});
    }
}

TEST_F(VideoFrames, halfAndQuarterArePointSampled) {
    expectFrames("odd_1921x1081", 2, allFrames("odd_1921x1081"));
    expectFrames("wide_1366", 4, allFrames("wide_1366"));
    expectFrames("h264_mp4", 2, scrubbing("h264_mp4", 6));
    expectFrames("h264_mp4", 4, scrubbing("h264_mp4", 6));
}

TEST_F(VideoFrames, blocksFollowTheKeyframes) {
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const auto listed = [&] {
        return sheet.videoCache.awaitListing(std::chrono::steady_clock::now() +
                                             std::chrono::seconds(30));
    };
    showFrame(sheet, data, testsupport::mediaPath("keys_0_12_24"), 0);
    ASSERT_TRUE(listed());
    EXPECT_EQ(sheet.videoCache.blockStarts(), (std::vector<int>{0, 12, 24, 30}));
    showFrame(sheet, data, testsupport::mediaPath("keys_0_12_29"), 29);
    ASSERT_TRUE(listed());
    EXPECT_EQ(sheet.videoCache.blockStarts(), (std::vector<int>{0, 12, 30}));
    EXPECT_EQ(sheet.videoCache.videoFrameRate(), 24.0);
    EXPECT_EQ(sheet.videoCache.frameWidth(), 160);
    EXPECT_EQ(sheet.videoCache.frameHeight(), 120);
    EXPECT_EQ(sheet.keyframeInterval(), 12);
    EXPECT_EQ(texturePixels(data).width, 160);
}

// The store holds the whole blocks within the cacheFrames frames around the wanted one (at least
// that one): (120 / 12 − 1) / 2 = 4 blocks on each side for 120.
TEST_F(VideoFrames, cacheFramesSizeTheWindow) {
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const std::string& path = testsupport::mediaPath("blocks_of_12");
    const std::pair<int, std::pair<int, int>> cases[] = {
        {120, {72, 179}}, {60, {96, 155}}, {0, {125, 125}}, {240, {0, 239}}};
    // Windows are placed among the blocks of the whole file, once it is listed.
    showFrame(sheet, data, path, 125, 0);
    ASSERT_TRUE(
        sheet.videoCache.awaitListing(std::chrono::steady_clock::now() + std::chrono::seconds(30)));
    for (const auto& [cacheFrames, window] : cases) {
        showFrame(sheet, data, path, 125, cacheFrames);
        const int expected = window.second - window.first + 1;
        ASSERT_TRUE(waitForStore(sheet, [&](const FrameStore::Contents& store) {
            return static_cast<int>(storedFrames(store).size()) == expected;
        })) << cacheFrames;
        const std::vector<int> frames = storeOf(sheet).read(storedFrames);
        EXPECT_EQ(frames.front(), window.first) << cacheFrames;
        EXPECT_EQ(frames.back(), window.second) << cacheFrames;
    }
}

class BadFiles : public VideoFrames {
protected:
    // No such file: the card is drawn, and nothing stays loaded.
    void expectNothing(const std::string& path) {
        FootageSheet& sheet = makeSheet();
        CineSheetData& data = makeData();
        EXPECT_EQ(showFrame(sheet, data, path, 0), FootageAnswer::kMissing);
        EXPECT_TRUE(data.texture().isCard());
        EXPECT_TRUE(sheet.loadedNothing());
    }

    // The file is refused: the texture is the card, square.
    void expectPlaceholder(const std::string& path) {
        FootageSheet& sheet = makeSheet();
        CineSheetData& data = makeData();
        showFrame(sheet, data, path, 0);
        showFrame(sheet, data, path, 5);
        const TexturePixels pixels = texturePixels(data);
        EXPECT_TRUE(data.texture().isCard()) << path;
        EXPECT_EQ(pixels.width, kCardLongSide) << path;
        EXPECT_EQ(pixels.height, kCardLongSide) << path;
        EXPECT_EQ(pixels.bytes, cardPixels(kCardLongSide, kCardLongSide)) << path;
        EXPECT_EQ(sheet.videoCache.blockStarts(), (std::vector<int>{0, 0})) << path;
        EXPECT_TRUE(sheet.loadedNothing()) << path;
        EXPECT_EQ(storeOf(sheet).facts().streamIndex, -1) << path;
    }
};

TEST_F(BadFiles, aMissingFileShowsNothing) {
    expectNothing(testsupport::scratch().file("missing.mp4"));
}

// Every kind of file the decoder refuses is checked with the decoding tests; here, what the
// cache makes of one: sound alone, in a container named like a video.
TEST_F(BadFiles, aFileWithoutAPlayableVideoShowsThePlaceholder) {
    testsupport::writeFile(testsupport::scratch().file("audio.mp4"),
                           testsupport::readFile(testsupport::mediaPath("audio_only")));
    expectPlaceholder(testsupport::scratch().file("audio.mp4"));
}

// A file that cannot be opened closes the former one; going back to that one opens it again.
TEST_F(BadFiles, returningToTheFormerFileAfterABadOneShowsItAgain) {
    const ReferenceVideo& reference = testsupport::reference("h264_mp4");
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const std::vector<uint8_t> expected =
        testsupport::pointSampledRgba(reference.frames[30], reference.width, reference.height, 1);
    showFrame(sheet, data, testsupport::mediaPath("h264_mp4"), 30);
    ASSERT_EQ(texturePixels(data).bytes, expected);
    testsupport::writeFile(testsupport::scratch().file("sound.mp4"),
                           testsupport::readFile(testsupport::mediaPath("audio_only")));
    showFrame(sheet, data, testsupport::scratch().file("sound.mp4"), 30);
    EXPECT_TRUE(data.texture().isCard());
    showFrame(sheet, data, testsupport::mediaPath("h264_mp4"), 30);
    EXPECT_EQ(firstDifference(texturePixels(data).bytes, expected), "");
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
