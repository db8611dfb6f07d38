#include "SheetFixture.h"

#include "MediaCatalogue.h"
#include "cache/CacheBudget.h"
#include "sequence/SequencePattern.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

constexpr size_t kMegabyte = 1024 * 1024;
constexpr size_t kBudget = 8 * kMegabyte;

// The budget is read once, when the first cache is made: this binary runs with 8 MB.
const bool budgetSet = setenv("CINESHEET_CACHE_MB", "8", 1) == 0;

testsupport::MediaCatalogue& media() {
    static testsupport::MediaCatalogue catalogue({
        {"qvga",
         {"qvga.mp4",
          "-f lavfi -i testsrc2=s=320x240:r=24 -frames:v 96 -c:v libx264 -g 12 -bf 2 "
          "-pix_fmt yuv420p"}},
    });
    return catalogue;
}

TEST(CacheBudgetSetting, MegabytesFromTheEnvironmentOrHalfThePhysicalMemory) {
    EXPECT_EQ(video::cacheBudgetBytes("512", 1000), 512 * kMegabyte);
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "0", "-3", "12 MB", "x"}) {
        EXPECT_EQ(video::cacheBudgetBytes(unusable, 1000), 500u) << (unusable ? unusable : "unset");
    }
    ASSERT_TRUE(budgetSet);
    EXPECT_EQ(video::CacheBudget::instance().limit(), kBudget);
}

// Three nodes that would each keep 120 frames of 300 KB (35 MB each) share 8 MB: every node
// still shows its frames exactly, and the frames held never pass the budget.
TEST_F(SheetFixture, NodesShareTheBudgetNearestFramesFirst) {
    const testsupport::ReferenceVideo& reference = media().reference("qvga");
    const std::string& path = media().path("qvga");
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
        ASSERT_TRUE(waitForStore(sheet, [&sheet] {
            return cacheOf(sheet).window.contains(cacheOf(sheet).wantedFrame) &&
                   !storedFrames(sheet).empty();
        }));
        const std::lock_guard<std::mutex> lock(cacheOf(sheet).storeMutex);
        const std::vector<int> frames = storedFrames(sheet);
        EXPECT_LE(frames.front(), cacheOf(sheet).wantedFrame);
        EXPECT_GE(frames.back(), cacheOf(sheet).wantedFrame);
        EXPECT_LE(frames.size(), kBudget / (320 * 240 * 4));
    }
    EXPECT_LE(highest, kBudget);
    EXPECT_LE(video::CacheBudget::instance().used(), kBudget);
    for (auto& node : nodes) {
        destroySheet(*node.first);
    }
    EXPECT_EQ(video::CacheBudget::instance().used(), 0u);
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
    showFrame(video, videoData, media().path("qvga"), 10, 120);
    FootageSheet& sequence = makeSheet();
    CineSheetData& sequenceData = makeData();
    for (int frame : {5, 6, 7, 40}) {
        showFrame(sequence, sequenceData, pattern, frame, 120);
        const std::string file = video::SequencePattern(pattern).fileOf(frame);
        EXPECT_EQ(texturePixels(sequenceData).bytes, toolRgba(file)) << "frame " << frame;
    }
    // The readers stop where the budget has no room for another frame.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (video::CacheBudget::instance().used() + kFrameBytes <= kBudget &&
           sequence.sequence().framesHeld() < 60 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_LE(video::CacheBudget::instance().used(), kBudget);
    EXPECT_GT(sequence.sequence().framesHeld(), 1u);
    EXPECT_LE(sequence.sequence().framesHeld() * kFrameBytes, kBudget);
}

}  // namespace
