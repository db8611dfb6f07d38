#include "PoolHolder.h"
#include "ProcessThreads.h"
#include "cache/DecodingPool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using std::chrono::seconds;
using video::Urgency;

// Limits that only keep a faulty pool from hanging the suite.
constexpr seconds kHangLimit{60};

// What the test and the clients share: a log of the work done.
struct Stage {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> done;

    void note(const std::string& name) {
        const std::lock_guard<std::mutex> lock(mutex);
        done.push_back(name);
        changed.notify_all();
    }
    bool waitForDone(size_t count) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, kHangLimit, [&] { return done.size() >= count; });
    }
};

// A client with one piece of work of a given urgency, which notes its name when done.
class OnePiece : public video::PoolClient {
public:
    OnePiece(Stage& stage, std::string name, Urgency urgency)
        : stage_(stage), name_(std::move(name)), urgency_(urgency) {}

    std::optional<Urgency> nextWork() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        return pending_ ? std::optional<Urgency>(urgency_) : std::nullopt;
    }
    void runWork() override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            pending_ = false;
        }
        stage_.note(name_);
    }

private:
    Stage& stage_;
    const std::string name_;
    const Urgency urgency_;
    std::mutex mutex_;
    bool pending_ = true;
};

// Look-ahead 2 frames from its node's shown frame outranks a pass whose next frame lies 11 or
// more frames ahead, not one 10 ahead, and any pass for a node not drawn: nodes played together
// thus take turns in short runs of frames. Work with no distance known (the largest value)
// never wraps round to outrank the running pass, nor is it outranked by its like.
TEST(DecodingPool, rankingHoldsWithTheNoDistanceMarker) {
    constexpr long long kNone = std::numeric_limits<long long>::max();
    struct Case {
        Urgency waiting;
        Urgency running;
        bool outranks;
    };
    const Case cases[] = {
        {{Urgency::kAhead, kNone}, {Urgency::kAhead, 5}, false},
        {{Urgency::kAhead, kNone}, {Urgency::kAhead, kNone}, false},
        {{Urgency::kAhead, 5}, {Urgency::kAhead, kNone}, true},
        {{Urgency::kUndrawn, kNone}, {Urgency::kAhead, 0}, false},
        {{Urgency::kAwaited, kNone}, {Urgency::kAhead, 0}, true},
        {{Urgency::kAhead, 2}, {Urgency::kAhead, 10}, false},
        {{Urgency::kAhead, 2}, {Urgency::kAhead, 11}, true},
        {{Urgency::kAhead, 2}, {Urgency::kAhead, 40}, true},
        {{Urgency::kAhead, 2}, {Urgency::kUndrawn, 0}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.waiting.outranks(c.running), c.outranks)
            << c.waiting.level << "/" << c.waiting.distance << " vs " << c.running.level << "/"
            << c.running.distance;
    }
}

// With the one thread held, work of every kind is queued: a long pass asking whether to give
// way would give way to the awaited frame, not to look-ahead. Once let go, the thread serves the
// frame a refresh waits for first, then look-ahead nearest first, and nodes not drawn last.
TEST(DecodingPool, servesTheAwaitedFrameFirstThenLookAheadNearestFirstThenUndrawnNodes) {
    Stage stage;
    video::DecodingPool pool(1);
    PoolHolder holder(pool);
    OnePiece undrawn(stage, "undrawn", Urgency{Urgency::kUndrawn, 0});
    OnePiece far(stage, "far ahead", Urgency{Urgency::kAhead, 40});
    OnePiece awaited(stage, "awaited", Urgency{Urgency::kAwaited, 0});
    OnePiece near(stage, "near ahead", Urgency{Urgency::kAhead, 2});
    for (OnePiece* client : {&undrawn, &far, &awaited, &near}) {
        pool.enrol(client);
    }
    pool.wake();
    EXPECT_TRUE(pool.outranked(Urgency{Urgency::kAhead, 3}));
    EXPECT_FALSE(pool.outranked(Urgency{Urgency::kAwaited, 0}));
    holder.release();
    ASSERT_TRUE(stage.waitForDone(4));
    EXPECT_EQ(stage.done,
              (std::vector<std::string>{"awaited", "near ahead", "far ahead", "undrawn"}));
    for (OnePiece* client : {&undrawn, &far, &awaited, &near}) {
        pool.leave(client);
    }
}

// Leaving waits for the piece of work under way, which lasts until released. Shutting down
// joins the threads, and new work starts them again.
TEST(DecodingPool, leavingWaitsForTheWorkUnderWayAndShutdownJoinsTheThreads) {
    video::DecodingPool pool(3);
    EXPECT_FALSE(pool.running()) << "no thread before there is work";
    const int before = threadsOfProcess();
    {
        const PoolHolder holder(pool);
        EXPECT_TRUE(pool.running());
        EXPECT_EQ(threadsOfProcess(), before + 3);
    }
    pool.shutdown();
    EXPECT_FALSE(pool.running());
    EXPECT_EQ(threadsOfProcess(), before);
    pool.wake();
    EXPECT_TRUE(pool.running());
    EXPECT_EQ(threadsOfProcess(), before + 3);
}

// Tasks run side by side where a thread is free, and all on the caller where none is.
TEST(DecodingPool, tasksRunTogetherOnFreeThreadsOrAllOnTheCaller) {
    Stage stage;
    video::DecodingPool pool(1);
    pool.wake();
    // Each waits for the other to begin: only two threads at once get through.
    bool metTheOther = false;
    pool.runTogether({[&] {
                          stage.note("first");
                          metTheOther = stage.waitForDone(2);
                      },
                      [&] { stage.note("second"); }});
    EXPECT_TRUE(metTheOther);
    const PoolHolder holder(pool);
    const std::thread::id caller = std::this_thread::get_id();
    int onCaller = 0;
    pool.runTogether(std::vector<std::function<void()>>(
        5, [&] { onCaller += std::this_thread::get_id() == caller ? 1 : 0; }));
    EXPECT_EQ(onCaller, 5);
}

TEST(DecodingPool, threadCountIsTheSettingOrTheCores) {
    EXPECT_EQ(video::DecodingPool::threadCountFor("1"), 1);
    EXPECT_EQ(video::DecodingPool::threadCountFor("64"), 64);
    const int cores = video::DecodingPool::threadCountFor(nullptr);
    EXPECT_GE(cores, 1);
    for (const char* other : {"", "0", "-2", "65", "2x", "many"}) {
        EXPECT_EQ(video::DecodingPool::threadCountFor(other), cores) << "'" << other << "'";
    }
}

// One decoder open alone decodes on every core, one frame thread more than the pool's threads
// as the one feeding it mostly waits; with others open, each gets one. A pool of one thread
// gives one.
TEST(DecodingPool, onlyADecoderOpenAloneGetsThreadsOfItsOwn) {
    video::DecodingPool pool(4);
    {
        video::DecoderSeat first(pool);
        EXPECT_EQ(first.ffmpegThreads(), 5);
        video::DecoderSeat second(pool);
        EXPECT_EQ(second.ffmpegThreads(), 1);
    }
    video::DecoderSeat alone(pool);
    EXPECT_EQ(alone.ffmpegThreads(), 5);
    video::DecodingPool single(1);
    video::DecoderSeat only(single);
    EXPECT_EQ(only.ffmpegThreads(), 1);
}

}  // namespace
