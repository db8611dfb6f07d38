#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include "cache/RefreshDeadline.h"
#include "cache/WorkerThreads.h"
#include "decode/VideoSource.h"
#include "draw/RefreshKind.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// A refresh's waits count from its start, as the render notification tells it, whatever the
// number of nodes waiting: one whose start went untold counts from its first wait, and a start
// no longer told is forgotten.
TEST(RefreshDeadline, theWaitsOfARefreshCountFromItsStart) {
    video::RefreshDeadline deadlines(seconds(10));
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(deadlines.deadline(milliseconds(100), start), start + milliseconds(100));
    EXPECT_EQ(deadlines.deadline(milliseconds(100), start + seconds(3)), start + milliseconds(100));
    deadlines.refreshBegan(start + seconds(5));
    for (const Clock::duration asked : {seconds(0), seconds(4), seconds(12)}) {
        EXPECT_EQ(deadlines.deadline(seconds(10), start + seconds(5) + asked), start + seconds(15));
    }
    deadlines.forgetRefresh();
    EXPECT_EQ(deadlines.deadline(seconds(1), start + seconds(20)), start + seconds(21));
}

TEST(RefreshDeadline, interactiveWaitFromTheEnvironment) {
    struct Case {
        const char* setting;
        milliseconds wait;
        bool warned;
    };
    const Case cases[] = {
        {nullptr, milliseconds(100), false}, {"40", milliseconds(40), false},
        {"0", milliseconds(0), false},       {"1000", milliseconds(1000), false},
        {"1001", milliseconds(100), true},   {"", milliseconds(100), true},
        {"-5", milliseconds(100), true},     {"fast", milliseconds(100), true},
        {"12ms", milliseconds(100), true},
    };
    for (const Case& c : cases) {
        const InteractiveWaitChoice choice = chooseInteractiveWait(c.setting);
        const std::string name = c.setting ? c.setting : "(unset)";
        EXPECT_EQ(choice.wait, c.wait) << name;
        EXPECT_EQ(!choice.warning.empty(), c.warned) << name << ": " << choice.warning;
    }
}

TEST(RefreshDeadline, longestWaitFromTheEnvironment) {
    struct Case {
        const char* setting;
        milliseconds wait;
        const char* warningHas;
    };
    const Case cases[] = {
        {nullptr, seconds(10), nullptr},
        {"250", milliseconds(250), nullptr},
        {"0", milliseconds(0), nullptr},
        {"600000", milliseconds(600000), nullptr},
        {"", seconds(10), "\"\" is not a whole number"},
        {"-5", seconds(10), "\"-5\" is not a whole number"},
        {"fast", seconds(10), "\"fast\" is not a whole number"},
        {"12ms", seconds(10), "\"12ms\" is not a whole number"},
        {"600001", milliseconds(600000), "600001 is more than 600000"},
        {"99999999999999", milliseconds(600000), "99999999999999 is more than"},
        {"9223372036854775807", milliseconds(600000), "9223372036854775807 is more than"},
        {"99999999999999999999999", milliseconds(600000), "is more than 600000"},
    };
    for (const Case& c : cases) {
        const video::RefreshWaitChoice choice = video::chooseRefreshWait(c.setting);
        const std::string name = c.setting ? c.setting : "(unset)";
        EXPECT_EQ(choice.wait, c.wait) << name;
        if (c.warningHas) {
            EXPECT_NE(choice.warning.find(c.warningHas), std::string::npos) << choice.warning;
        } else {
            EXPECT_EQ(choice.warning, "") << name;
        }
    }
}

TEST(WorkerThreads, startOnceAndJoinAfterTheStop) {
    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;
    int running = 0;
    int ended = 0;
    {
        video::WorkerThreads threads;
        EXPECT_FALSE(threads.started());
        auto body = [&] {
            std::unique_lock<std::mutex> lock(mutex);
            ++running;
            changed.notify_all();
            changed.wait(lock, [&] { return stop; });
            ++ended;
        };
        EXPECT_EQ(threads.start(2, body), 2);
        EXPECT_EQ(threads.start(2, body), 2) << "started twice";
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return running == 2; });
        }
        threads.stopAndJoin([&] {
            const std::lock_guard<std::mutex> lock(mutex);
            stop = true;
            changed.notify_all();
        });
        EXPECT_EQ(ended, 2);
    }
}

// Raising the flag leaves a file being read at its next read, however its packets are listed.
TEST(AbandonedOpen, aFileWhoseReadIsAbandonedIsNotOpen) {
    using Listing = video::VideoSource::Listing;
    for (Listing listing : {Listing::indexWhereComplete, Listing::fullScan}) {
        std::atomic<bool> abandon{true};
        video::VideoSource source;
        EXPECT_FALSE(source.open(testsupport::mediaPath("blocks_of_12"), listing, &abandon));
        EXPECT_FALSE(source.isOpen());
        abandon = false;
        EXPECT_TRUE(source.open(testsupport::mediaPath("blocks_of_12"), listing, &abandon));
        // Once open, the flag no longer stops the decoding of blocks.
        abandon = true;
        EXPECT_EQ(source.blockStarts().front(), 0);
    }
}

// Counts the refreshes a cache asks for.
struct RefreshCount {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    void operator()() {
        const std::lock_guard<std::mutex> lock(mutex);
        ++count;
        changed.notify_all();
    }
    bool waitFor(int expected) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, seconds(30), [&] { return count >= expected; });
    }
    int now() {
        const std::lock_guard<std::mutex> lock(mutex);
        return count;
    }
};

// A video cache shows nothing of a worker until it is given a file.
TEST(LateWork, noFileNoWorker) {
    VideoCache cache([] {});
    EXPECT_FALSE(cache.workerStarted());
    CachingJob job;
    EXPECT_FALSE(cache.addBlockCachingJob(0, 12, job));
    EXPECT_FALSE(cache.workerStarted());
    cache.close();
    EXPECT_FALSE(cache.workerStarted());
}

// A frame not decoded by the deadline is not waited for any longer: the worker decodes on and
// asks for one refresh once the frame is stored, and the frame is then there at once.
TEST(LateWork, aLateFrameAsksForARefreshOnceStored) {
    RefreshCount refreshes;
    VideoCache cache([&refreshes] { refreshes(); });
    ASSERT_TRUE(openVideo(cache, testsupport::mediaPath("blocks_of_12")));
    EXPECT_EQ(refreshes.now(), 0) << "an open waited for in time needs no refresh";
    CachingJob job;
    {
        // Held, the decoder keeps the worker from decoding anything: the wait runs out.
        const std::unique_lock<std::mutex> decoder = cache.openVideo().lock();
        ASSERT_TRUE(cache.addBlockCachingJob(30, 12, job));
        const Clock::time_point before = Clock::now();
        EXPECT_FALSE(cache.awaitFrame(
            job, [](const unsigned char*) { return true; }, before + milliseconds(20)));
        EXPECT_GE(Clock::now() - before, milliseconds(20));
        EXPECT_EQ(refreshes.now(), 0);
    }
    ASSERT_TRUE(refreshes.waitFor(1));
    bool shown = false;
    EXPECT_TRUE(cache.awaitFrame(
        job, [&shown](const unsigned char* pixels) { return shown = pixels != nullptr; },
        Clock::now()));
    EXPECT_TRUE(shown);
    // One refresh for one late frame.
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(refreshes.now(), 1);
}

// A file not open by the deadline: the wait gives up, the worker reads on and asks for a
// refresh once the file is open.
TEST(LateWork, aFileOpenedLateAsksForARefresh) {
    RefreshCount refreshes;
    VideoCache cache([&refreshes] { refreshes(); });
    bool late = false;
    // The worker could open the file before the first look; then the file is asked for again.
    for (int attempt = 0; attempt < 20 && !late; ++attempt) {
        cache.open(testsupport::mediaPath("long_blocks").c_str());
        late = cache.awaitOpen(Clock::now()) == VideoCache::OpenState::kOpening;
    }
    ASSERT_TRUE(late);
    ASSERT_TRUE(refreshes.waitFor(1));
    EXPECT_EQ(cache.awaitOpen(Clock::now()), VideoCache::OpenState::kOpen);
    // The blocks come as the scan settles them.
    ASSERT_TRUE(cache.awaitListing(Clock::now() + seconds(30)));
    EXPECT_EQ(cache.blockStarts(), (std::vector<int>{0, 48, 96, 144, 192}));
}

// Another file, a close or the cache's end leave a file being opened at once; the state is that
// of the last request.
TEST(LateWork, opensOverridden) {
    VideoCache cache([] {});
    cache.open(testsupport::mediaPath("long_blocks").c_str());
    cache.open(testsupport::mediaPath("blocks_of_12").c_str());
    EXPECT_EQ(cache.awaitOpen(Clock::now() + seconds(30)), VideoCache::OpenState::kOpen);
    ASSERT_TRUE(cache.awaitListing(Clock::now() + seconds(30)));
    EXPECT_EQ(cache.blockStarts().size(), 21u);
    cache.open(testsupport::mediaPath("long_blocks").c_str());
    cache.close();
    EXPECT_EQ(cache.awaitOpen(Clock::now() + seconds(30)), VideoCache::OpenState::kClosed);
    cache.open((testsupport::scratch().path() + "/missing.mp4").c_str());
    EXPECT_EQ(cache.awaitOpen(Clock::now() + seconds(30)), VideoCache::OpenState::kFailed);
    cache.open(testsupport::mediaPath("long_blocks").c_str());
}

}  // namespace
