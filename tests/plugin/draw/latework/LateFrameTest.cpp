#include "PoolHolder.h"
#include "SheetFixture.h"
#include "cache/DecodingPool.h"
#include "draw/CineSheetDrawOverride.h"
#include "picture/PendingFrameMark.h"

#include <host/IdleQueue.h>
#include <host/Interface.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MFnDependencyNode.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// The suite draws as an artist's viewport does, and every wait runs out at once, so whatever a
// node shows after its first refresh comes through the refresh its worker asks for on the idle
// queue. Set before the first wait reads them.
const bool kWaitsRunOutAtOnce = [] {
    return setenv("CINESHEET_FRAME_WAIT_MS", "0", 1) == 0 &&
           setenv("CINESHEET_INTERACTIVE_WAIT_MS", "0", 1) == 0;
}();

const testsupport::ReferenceVideo& referenceVideo() {
    static const testsupport::ReferenceVideo video =
        testsupport::referenceDecode(frameprep::video());
    return video;
}

// Keeps every thread of the decoding pool busy until destroyed, so that nothing a refresh asks for
// can be ready by the time it looks: a zero wait alone leaves that to the scheduler.
struct PoolHold {
    PoolHold() {
        video::DecodingPool& pool = video::DecodingPool::instance();
        for (int i = 0; i < pool.threadCount(); ++i) {
            holders.push_back(std::make_unique<PoolHolder>(pool));
        }
    }
    bool held() const {
        return std::all_of(
            holders.begin(), holders.end(),
            [](const std::unique_ptr<PoolHolder>& holder) { return holder->held(); });
    }
    std::vector<std::unique_ptr<PoolHolder>> holders;
};

class LateFrame : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        host::setInteractiveSession(true);
    }
    void TearDown() override {
        host::setInteractiveSession(false);
        SheetFixture::TearDown();
    }

    // Waits until `ready` holds, as the workers go on; false when it does not in time.
    template <typename Ready>
    static bool eventually(Ready ready) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!ready()) {
            if (std::chrono::steady_clock::now() >= until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    static const VideoCache& videoOf(const MObject& node) {
        return static_cast<const CineSheetDrawOverride*>(host::drawOverrideFor(node))
            ->footage()
            .video();
    }

    // The readout the latest refresh drew.
    std::string readout() const {
        for (const host::DrawCall& call : host::latestDrawCalls(sheet)) {
            if (call.kind == host::DrawCall::Kind::Text) {
                return call.text.asChar();
            }
        }
        return "";
    }

    // Waits for work on the idle queue, then runs it as the host does once idle; false when
    // nothing was queued in time.
    static bool runQueuedRefresh() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (host::idleQueueLength() == 0) {
            if (std::chrono::steady_clock::now() >= until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        host::runIdleQueue();
        return true;
    }

    // Runs the idle queue; how many refreshes it ran.
    static int queuedRefreshes() {
        const std::size_t before = host::refreshCount();
        host::runIdleQueue();
        return static_cast<int>(host::refreshCount() - before);
    }

    // Runs the refreshes the node asks for until it shows `expected`; how many it took, or -1.
    int refreshesUntilShown(const std::vector<std::uint8_t>& expected) {
        for (int refreshes = 0; refreshes < 5; ++refreshes) {
            if (drawnTexture().pixels == expected) {
                return refreshes;
            }
            if (!runQueuedRefresh()) {
                return -1;
            }
        }
        return drawnTexture().pixels == expected ? 5 : -1;
    }
};

// The refresh that asks for a video gives up before the file is even open; the worker opens it,
// asks for a refresh, which asks for the frame, and so on until the frame is shown, with no
// refresh from the artist. Once it is shown the node is only handed the keyframe interval found
// with the file, and nothing more is asked for.
TEST_F(LateFrame, AVideoFrameShowsOnceTheIdleQueueRuns) {
    ASSERT_TRUE(kWaitsRunOutAtOnce);
    const testsupport::ReferenceVideo& video = referenceVideo();
    const std::vector<std::uint8_t> expected =
        testsupport::pointSampledRgba(video.frames.at(21), video.width, video.height, 1);
    setFile(frameprep::video());
    setTime(21);
    {
        PoolHold hold;
        ASSERT_TRUE(hold.held());
        refresh();
    }
    EXPECT_NE(drawnTexture().pixels, expected) << "shown without waiting for the worker";
    const int refreshes = refreshesUntilShown(expected);
    EXPECT_GE(refreshes, 1);
    EXPECT_LE(refreshes, 2) << "one refresh once the file is open, one once the frame is stored";
    host::runIdleQueue();
    EXPECT_EQ(plug("keyframeInterval").asInt(), 8);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(host::idleQueueLength(), 0u);
    // The next frames come the same way.
    setTime(22);
    refresh();
    EXPECT_GE(refreshesUntilShown(
                  testsupport::pointSampledRgba(video.frames.at(22), video.width, video.height, 1)),
              0);
}

// Three late nodes ask for one refresh between two refreshes: once their files are open, and
// again once their frames are there; a frame on its way is said in the readout, the loading card
// standing in while nothing is held, then the nearest frame held, marked in its top right corner.
TEST_F(LateFrame, LateNodesAskForOneRefreshAndSayWhatIsOnItsWay) {
    const testsupport::ReferenceVideo& video = referenceVideo();
    run("connectAttr time1.outTime sheetShape.frame; setAttr sheetShape.displayInfo 1;"
        "setAttr sheetShape.cacheFrames 8");
    std::vector<MObject> nodes{sheet};
    for (const char* name : {"two", "three"}) {
        run(std::string("createNode transform -n ") + name + "; createNode CineSheet -n " + name +
            "Shape -p " + name + "; connectAttr time1.outTime " + name + "Shape.frame");
        nodes.emplace_back();
        ASSERT_EQ(host::findNode((std::string(name) + "Shape").c_str(), nodes.back()),
                  MStatus::kSuccess);
    }
    for (const MObject& node : nodes) {
        MPlug file = MFnDependencyNode(node).findPlug("file", true);
        ASSERT_EQ(file.setString(frameprep::video().c_str()), MStatus::kSuccess);
    }
    auto frameOf = [&](int frame) {
        return testsupport::pointSampledRgba(video.frames.at(frame), video.width, video.height, 1);
    };
    run("currentTime 21");
    {
        PoolHold hold;
        ASSERT_TRUE(hold.held());
        refresh();
    }
    EXPECT_TRUE(drewCard());
    ASSERT_TRUE(eventually([&] {
        return std::all_of(nodes.begin(), nodes.end(),
                           [](const MObject& node) { return videoOf(node).isOpen(); });
    }));
    EXPECT_EQ(queuedRefreshes(), 1) << "three files opened";
    EXPECT_TRUE(drewCard());
    EXPECT_EQ(readout(), "(not yet frame 21)");
    ASSERT_TRUE(eventually([&] {
        return std::all_of(nodes.begin(), nodes.end(), [](const MObject& node) {
            const std::vector<video::FrameWindow> held = videoOf(node).cachedFrames().held;
            return std::any_of(held.begin(), held.end(),
                               [](const video::FrameWindow& run) { return run.contains(21); });
        });
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(queuedRefreshes(), 1) << "three frames came";
    EXPECT_EQ(drawnTexture().pixels, frameOf(21));
    EXPECT_EQ(readout(), "frame 21  clip.mp4");

    run("currentTime 40");
    {
        PoolHold hold;
        ASSERT_TRUE(hold.held());
        refresh();
    }
    const std::string line = readout();
    ASSERT_EQ(line.rfind("frame ", 0), 0u) << line;
    const int standIn = std::stoi(line.substr(6));
    EXPECT_NE(standIn, 40);
    EXPECT_EQ(line, "frame " + std::to_string(standIn) + "  clip.mp4  (not yet frame 40)");
    std::vector<std::uint8_t> marked = frameOf(standIn);
    video::drawPendingFrameMark(marked.data(), video.width, video.height);
    EXPECT_EQ(drawnTexture().pixels, marked);
    const std::uint8_t* corner = marked.data() + (video.width - 1) * 4;
    EXPECT_EQ(std::vector<std::uint8_t>(corner, corner + 4),
              (std::vector<std::uint8_t>{255, 128, 0, 255}));
    EXPECT_GE(refreshesUntilShown(frameOf(40)), 1);
}

// A refresh asked for that ran after every node had gone leaves the next node's late work free
// to ask for its own.
TEST_F(LateFrame, ARefreshRunAfterTheNodesWentSilencesNothing) {
    setFile(frameprep::video());
    setTime(21);
    {
        PoolHold hold;
        ASSERT_TRUE(hold.held());
        refresh();
    }
    ASSERT_TRUE(eventually([] { return host::idleQueueLength() > 0; }));
    run("delete sheet");
    host::runIdleQueue();
    run("createNode transform -n again; createNode CineSheet -n againShape -p again");
    ASSERT_EQ(host::findNode("againShape", sheet), MStatus::kSuccess);
    setFile(frameprep::video());
    setTime(21);
    refresh();
    const testsupport::ReferenceVideo& video = referenceVideo();
    EXPECT_GE(refreshesUntilShown(
                  testsupport::pointSampledRgba(video.frames.at(21), video.width, video.height, 1)),
              1);
}

// Likewise for a frame of a sequence, which the readers read while the refresh has gone on.
TEST_F(LateFrame, ASequenceFrameShowsOnceTheIdleQueueRuns) {
    setFile(frameprep::pngSequence());
    setTime(3);
    {
        PoolHold hold;
        ASSERT_TRUE(hold.held());
        refresh();
    }
    EXPECT_GE(refreshesUntilShown(frameprep::pngPixels(3)), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(host::idleQueueLength(), 0u);
}

}  // namespace
