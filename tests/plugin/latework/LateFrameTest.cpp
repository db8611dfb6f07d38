#include "SheetFixture.h"

#include <host/IdleQueue.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// Every wait of this suite runs out at once, so whatever a node shows after its first refresh
// comes through the refresh its worker asks for on the idle queue. Set before the first wait
// reads it.
const bool kWaitsRunOutAtOnce = [] { return setenv("CINESHEET_FRAME_WAIT_MS", "0", 1) == 0; }();

const testsupport::ReferenceVideo& referenceVideo() {
    static const testsupport::ReferenceVideo video =
        testsupport::referenceDecode(frameprep::video());
    return video;
}

class LateFrame : public SheetFixture {
protected:
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
    refresh();
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

// Likewise for a frame of a sequence, which the readers read while the refresh has gone on.
TEST_F(LateFrame, ASequenceFrameShowsOnceTheIdleQueueRuns) {
    setFile(frameprep::pngSequence());
    setTime(3);
    refresh();
    EXPECT_GE(refreshesUntilShown(frameprep::pngPixels(3)), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(host::idleQueueLength(), 0u);
}

}  // namespace
