#include "SheetFixture.h"
#include "cache/DecodingPool.h"

#include <host/IdleQueue.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

// Keeps every thread of the decoding pool busy until released, so that nothing a refresh asks for
// can be ready by the time it looks: a zero wait alone leaves that to the scheduler.
class PoolHold {
public:
    PoolHold() : pool_(video::DecodingPool::instance()) {
        for (int i = 0; i < pool_.threadCount(); ++i) {
            holders_.push_back(std::make_unique<Holder>(*this));
            pool_.enrol(holders_.back().get());
        }
        pool_.wake();
        std::unique_lock<std::mutex> lock(mutex_);
        held_ = changed_.wait_for(lock, std::chrono::seconds(30),
                                  [this] { return busy_ == pool_.threadCount(); });
    }
    ~PoolHold() {
        release();
        for (const std::unique_ptr<Holder>& holder : holders_) {
            pool_.leave(holder.get());
        }
    }
    PoolHold(const PoolHold&) = delete;
    PoolHold& operator=(const PoolHold&) = delete;

    bool held() const { return held_; }
    void release() {
        const std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    class Holder : public video::PoolClient {
    public:
        explicit Holder(PoolHold& hold) : hold_(hold) {}
        std::optional<video::Urgency> nextWork() override {
            const std::lock_guard<std::mutex> lock(hold_.mutex_);
            return pending_
                       ? std::optional<video::Urgency>(video::Urgency{video::Urgency::kAwaited, 0})
                       : std::nullopt;
        }
        void runWork() override {
            std::unique_lock<std::mutex> lock(hold_.mutex_);
            pending_ = false;
            ++hold_.busy_;
            hold_.changed_.notify_all();
            hold_.changed_.wait(lock, [this] { return hold_.released_; });
        }

    private:
        PoolHold& hold_;
        bool pending_ = true;
    };

    video::DecodingPool& pool_;
    std::vector<std::unique_ptr<Holder>> holders_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int busy_ = 0;
    bool released_ = false;
    bool held_ = false;
};

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
