#include "SheetFixture.h"

#include "MediaCatalogue.h"
#include "cache/CacheBudget.h"
#include "cache/ProcessSpares.h"
#include "sequence/SequencePattern.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

namespace {

constexpr size_t kMegabyte = 1024 * 1024;
constexpr size_t kBudget = 8 * kMegabyte;

// The budget is read once, when the first cache is made: this binary runs with 8 MB.
const bool budgetSet = setenv("CINESHEET_CACHE_MB", "8", 1) == 0;

TEST(CacheBudgetSetting, TheBudgetOfThisProcess) {
    ASSERT_TRUE(budgetSet);
    EXPECT_EQ(video::CacheBudget::instance().limit(), kBudget);
    EXPECT_TRUE(video::CacheBudget::instance().takeWarning().empty());
}

// A node's decoder, its texture and the frame it shows are counted, in its own accounts and in
// the process's total, and given back when it goes.
TEST_F(SheetFixture, DecoderTextureAndFramesAreCounted) {
    const std::string& path = testsupport::mediaPath("qvga");
    constexpr size_t kPixels = 320 * 240;
    FootageSheet& first = makeSheet();
    CineSheetData& firstData = makeData();
    FootageSheet& second = makeSheet();
    CineSheetData& secondData = makeData();
    // A window of one frame: nothing is read ahead, so the counts stand still once shown.
    ASSERT_EQ(showFrame(first, firstData, path, 10, 1), FootageAnswer::kShown);
    ASSERT_EQ(showFrame(second, secondData, path, 50, 1), FootageAnswer::kShown);
    for (const FootageSheet* sheet : {&first, &second}) {
        const video::BudgetAccount& account = sheet->video().account();
        // Three YUV 4:2:0 pictures at least (a reference, one in flight, the one handed out) and
        // the RGB24 conversion picture.
        EXPECT_GE(account.bytes(video::Spend::kDecoder), 3 * kPixels * 3 / 2 + kPixels * 3);
        EXPECT_EQ(account.bytes(video::Spend::kFrames), kPixels * 4);
        EXPECT_EQ(account.bytes(video::Spend::kTexture), 0u);
    }
    EXPECT_EQ(firstData.texture().chargedBytes(), kPixels * 4);
    EXPECT_EQ(secondData.texture().chargedBytes(), kPixels * 4);
    const video::CacheBudget& budget = video::CacheBudget::instance();
    EXPECT_EQ(budget.used(video::Spend::kDecoder),
              first.video().account().bytes(video::Spend::kDecoder) +
                  second.video().account().bytes(video::Spend::kDecoder));
    EXPECT_EQ(budget.used(video::Spend::kTexture), 2 * kPixels * 4);
    EXPECT_EQ(budget.used(), chargedBy(first, firstData) + chargedBy(second, secondData));
    // A gamma other than 1 uploads a corrected copy, counted with the texture.
    ASSERT_EQ(showFrame(first, firstData, path, 10, 1, 2.2f), FootageAnswer::kShown);
    EXPECT_EQ(budget.used(video::Spend::kTexture), 3 * kPixels * 4);
    first.gamma.setGamma(1.0f);
    first.gamma.apply(nullptr, 0);
    destroySheet(first);
    destroySheet(second);
    firstData.dropTexture();
    secondData.dropTexture();
    video::ProcessSpares::instance().freeAll();
    EXPECT_EQ(budget.used(), 0u);
}

// Thirty nodes whose decoders, textures and shown frames alone take far more than the 8 MB
// budget: every node still shows its frame exactly, and none reads ahead.
TEST_F(SheetFixture, EveryNodeShowsItsFrameWhenTheirMinimumPassesTheBudget) {
    const testsupport::ReferenceVideo& reference = testsupport::reference("qvga");
    const std::string& path = testsupport::mediaPath("qvga");
    std::vector<std::pair<FootageSheet*, CineSheetData*>> nodes;
    for (int i = 0; i < 30; ++i) {
        nodes.emplace_back(&makeSheet(), &makeData());
    }
    for (int step = 0; step < 2; ++step) {
        for (size_t i = 0; i < nodes.size(); ++i) {
            const int shown = static_cast<int>(i * 3) % 90 + step;
            ASSERT_EQ(showFrame(*nodes[i].first, *nodes[i].second, path, shown, 24),
                      FootageAnswer::kShown)
                << "node " << i << " frame " << shown;
            EXPECT_EQ(texturePixels(*nodes[i].second).bytes,
                      testsupport::pointSampledRgba(reference.frames[static_cast<size_t>(shown)],
                                                    320, 240, 1))
                << "node " << i << " frame " << shown;
        }
    }
    const video::CacheBudget& budget = video::CacheBudget::instance();
    EXPECT_GT(budget.used() - budget.used(video::Spend::kFrames), kBudget);
    for (size_t i = 0; i < nodes.size(); ++i) {
        FootageSheet& sheet = *nodes[i].first;
        const int shown = static_cast<int>(i * 3) % 90 + 1;
        for (int frame : storeOf(sheet).read(storedFrames)) {
            EXPECT_TRUE(frame >= shown - 1 && frame <= shown + 1)
                << "node " << i << " keeps frame " << frame << " away from " << shown;
        }
    }
}

// Three nodes that would each keep 120 frames of 300 KB (35 MB each) share 8 MB: every node
// still shows its frames exactly, and only the frames shown may pass the budget.
TEST_F(SheetFixture, NodesShareTheBudgetNearestFramesFirst) {
    const testsupport::ReferenceVideo& reference = testsupport::reference("qvga");
    const std::string& path = testsupport::mediaPath("qvga");
    std::vector<std::pair<FootageSheet*, CineSheetData*>> nodes;
    for (int i = 0; i < 3; ++i) {
        nodes.emplace_back(&makeSheet(), &makeData());
    }
    size_t highest = 0;
    for (int frame : {10, 11, 40, 90, 12, 60}) {
        for (size_t i = 0; i < nodes.size(); ++i) {
            const int shown = (frame + 7 * static_cast<int>(i)) % 96;
            showFrame(*nodes[i].first, *nodes[i].second, path, shown, 120);
            highest = std::max(highest, video::CacheBudget::instance().used());
            EXPECT_EQ(texturePixels(*nodes[i].second).bytes,
                      testsupport::pointSampledRgba(reference.frames[static_cast<size_t>(shown)],
                                                    320, 240, 1))
                << "node " << i << " frame " << shown;
        }
    }
    // Once the workers are done, the budget is full and each node keeps its nearest frames.
    for (auto& node : nodes) {
        FootageSheet& sheet = *node.first;
        ASSERT_TRUE(waitForStore(sheet, [](const FrameStore::Contents& store) {
            return store.window.contains(store.wantedFrame) && !storedFrames(store).empty();
        }));
        storeOf(sheet).read([](const FrameStore::Contents& store) {
            const std::vector<int> frames = storedFrames(store);
            EXPECT_LE(frames.front(), store.wantedFrame);
            EXPECT_GE(frames.back(), store.wantedFrame);
            EXPECT_LE(frames.size(), kBudget / (320 * 240 * 4));
        });
    }
    // The three decoders and textures take about 7 MB of the 8: what is left may not hold the
    // frame each node shows and the next one, which are kept all the same. A texture is made
    // while its node uploads: the frames of others make room for it at their next frame, so the
    // budget is passed by one texture more at most meanwhile.
    constexpr size_t kFrameBytes = 320 * 240 * 4;
    const size_t shownFrames = nodes.size() * 2 * kFrameBytes;
    EXPECT_LE(highest, kBudget + shownFrames + kFrameBytes);
    EXPECT_LE(video::CacheBudget::instance().used(), kBudget + shownFrames);
    for (auto& node : nodes) {
        destroySheet(*node.first);
        node.second->dropTexture();
    }
    video::ProcessSpares::instance().freeAll();
    EXPECT_EQ(video::CacheBudget::instance().used(), 0u);
}

// Waits until the worker has served a job for `frame` and finished that pass.
bool servedAround(FootageSheet& sheet, int frame) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (;;) {
        {
            const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
            if (storeOf(sheet).read(
                    [](const FrameStore::Contents& store) { return store.wantedFrame; }) == frame) {
                return true;
            }
        }
        if (std::chrono::steady_clock::now() >= limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// A frame the budget takes from a cache while the drawing thread still copies it out stays
// whole, and counted, until the copy lets go of it; then it is refunded.
TEST_F(SheetFixture, AFrameGivenUpWhileCopiedIsCountedUntilLetGo) {
    constexpr size_t kFrameBytes = 320 * 240 * 4;
    const testsupport::ReferenceVideo& reference = testsupport::reference("qvga");
    FootageSheet& sheet = makeSheet();
    VideoCache& cache = sheet.videoCache;
    ASSERT_TRUE(openVideo(cache, testsupport::mediaPath("qvga")));
    const video::BudgetAccount& account = cache.account();
    // The frames stored, the spares and `held` frames handed out, with the worker between passes.
    auto counted = [&](size_t held) {
        const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
        return storeOf(sheet).read([&](const FrameStore::Contents& store) {
            return std::make_pair(
                account.bytes(video::Spend::kFrames),
                (storedFrames(store).size() + storeOf(sheet).frameBuffers()->spareCount() + held) *
                    kFrameBytes);
        });
    };
    auto any = [](const unsigned char*) { return true; };
    CachingJob job;
    ASSERT_TRUE(cache.addBlockCachingJob(4, 24, job));
    ASSERT_TRUE(cache.awaitFrame(job, any, farDeadline()));
    ASSERT_TRUE(servedAround(sheet, 4));
    CachingJob first{0, 24, 0, 0};

    bool givenUp = false;
    auto copy = [&](const unsigned char* pixels) {
        // Another refresh moves on to frame 11, in the same window: frame 0 is no longer one a
        // refresh shows, and the farthest from the frame wanted.
        std::future<bool> moved = std::async(std::launch::async, [&] {
            CachingJob next;
            return cache.addBlockCachingJob(11, 24, next) &&
                   cache.awaitFrame(next, any, farDeadline());
        });
        if (moved.wait_for(std::chrono::minutes(1)) != std::future_status::ready || !moved.get() ||
            !servedAround(sheet, 11)) {
            return false;
        }
        {
            const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
            // Room for a decoder as large as the budget: everything but the frames on screen goes.
            video::CacheBudget::instance().makeRoom(kBudget);
            const std::vector<int> left = storeOf(sheet).read(storedFrames);
            givenUp = !left.empty() && left.front() >= 11 && left.back() <= 12;
        }
        const auto [charged, expected] = counted(1);
        EXPECT_EQ(charged, expected);
        EXPECT_EQ(std::vector<std::uint8_t>(pixels, pixels + kFrameBytes),
                  testsupport::pointSampledRgba(reference.frames[0], 320, 240, 1));
        return true;
    };
    ASSERT_TRUE(cache.awaitFrame(first, copy, farDeadline()));
    EXPECT_TRUE(givenUp);
    const auto [charged, expected] = counted(0);
    EXPECT_EQ(charged, expected);
}

}  // namespace

namespace {

// The file as the ffmpeg tool decodes it to RGBA, top row first.
std::vector<std::uint8_t> toolRgba(const std::string& file) {
    testsupport::TempDir folder;
    testsupport::makeMedia("-i " + testsupport::shellQuote(file) + " -f rawvideo -pix_fmt rgba",
                           folder.file("pixels.rgba"));
    return testsupport::readBytes(folder.file("pixels.rgba"));
}

// A sequence whose 120-frame window would take 35 MB reads ahead only as far as the 8 MB budget
// lets it, next to a video node, and still shows every frame exactly.
TEST_F(SheetFixture, SequenceFramesCountAgainstTheBudget) {
    testsupport::TempDir folder;
    testsupport::makeMedia("-f lavfi -i testsrc2=s=320x240:r=24 -frames:v 60 -start_number 1",
                           folder.file("qvga.%04d.png"));
    const std::string pattern = folder.file("qvga.####.png");
    constexpr size_t kFrameBytes = 320 * 240 * 4;
    FootageSheet& video = makeSheet();
    CineSheetData& videoData = makeData();
    showFrame(video, videoData, testsupport::mediaPath("qvga"), 10, 120);
    FootageSheet& sequence = makeSheet();
    CineSheetData& sequenceData = makeData();
    for (int frame : {5, 6, 7, 40}) {
        showFrame(sequence, sequenceData, pattern, frame, 120);
        const std::string file = video::SequencePattern(pattern).fileOf(frame);
        EXPECT_EQ(texturePixels(sequenceData).bytes, toolRgba(file)) << "frame " << frame;
    }
    // The readers stop where the budget, or the sequence's share of it, has no room for
    // another frame: the count stands still.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    size_t held = 0;
    auto stillSince = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - stillSince < std::chrono::seconds(1) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (sequence.sequence().framesHeld() != held) {
            held = sequence.sequence().framesHeld();
            stillSince = std::chrono::steady_clock::now();
        }
    }
    EXPECT_LE(video::CacheBudget::instance().used(), kBudget);
    EXPECT_GT(sequence.sequence().framesHeld(), 1u);
    EXPECT_LE(sequence.sequence().framesHeld() * kFrameBytes, kBudget);
}

}  // namespace
