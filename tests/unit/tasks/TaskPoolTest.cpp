#include <maya/MThreadAsync.h>

#include <host/Faults.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// What one task saw, in order.
struct TaskLog {
    std::mutex mutex;
    std::vector<std::string> events;
    std::thread::id bodyThread;
    std::thread::id callbackThread;
    std::atomic<bool> slow{false};
};

MThreadRetVal logBody(void* data) {
    auto* log = static_cast<TaskLog*>(data);
    if (log->slow) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::lock_guard<std::mutex> lock(log->mutex);
    log->bodyThread = std::this_thread::get_id();
    log->events.push_back("body");
    return nullptr;
}

void logCallback(void* data) {
    auto* log = static_cast<TaskLog*>(data);
    std::lock_guard<std::mutex> lock(log->mutex);
    log->callbackThread = std::this_thread::get_id();
    log->events.push_back("callback");
}

class TaskPool : public ::testing::Test {
protected:
    void TearDown() override { host::clearFaults(); }
};

TEST_F(TaskPool, LastReleaseWaitsForTheTaskAndItsCallback) {
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    TaskLog log;
    log.slow = true;
    ASSERT_EQ(MThreadAsync::createTask(logBody, &log, logCallback, nullptr), MStatus::kSuccess);
    MThreadAsync::release();
    std::lock_guard<std::mutex> lock(log.mutex);
    EXPECT_EQ(log.events, (std::vector<std::string>{"body", "callback"}));
    EXPECT_EQ(log.bodyThread, log.callbackThread);
    EXPECT_NE(log.bodyThread, std::this_thread::get_id());
}

TEST_F(TaskPool, InitIsCountedAndOnlyTheLastReleaseStopsThePool) {
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    MThreadAsync::release();
    TaskLog log;
    EXPECT_EQ(MThreadAsync::createTask(logBody, &log, logCallback, nullptr), MStatus::kSuccess);
    MThreadAsync::release();
    EXPECT_EQ(log.events.size(), 2u);
    EXPECT_EQ(MThreadAsync::createTask(logBody, &log, logCallback, nullptr), MStatus::kFailure);
}

TEST_F(TaskPool, ReleaseWithoutInitIsHarmless) {
    testing::internal::CaptureStderr();
    MThreadAsync::release();
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    MThreadAsync::release();
}

// Workers of different overrides run for their owners' lifetime; they must not queue behind
// each other.
struct Rendezvous {
    std::mutex mutex;
    std::condition_variable changed;
    int arrived = 0;
    int metBoth = 0;
};

MThreadRetVal meetTheOther(void* data) {
    auto* meeting = static_cast<Rendezvous*>(data);
    std::unique_lock<std::mutex> lock(meeting->mutex);
    ++meeting->arrived;
    meeting->changed.notify_all();
    if (meeting->changed.wait_for(lock, std::chrono::seconds(10),
                                  [meeting] { return meeting->arrived == 2; })) {
        ++meeting->metBoth;
    }
    return nullptr;
}

TEST_F(TaskPool, LongTasksRunSideBySide) {
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    Rendezvous meeting;
    ASSERT_EQ(MThreadAsync::createTask(meetTheOther, &meeting, nullptr, nullptr),
              MStatus::kSuccess);
    ASSERT_EQ(MThreadAsync::createTask(meetTheOther, &meeting, nullptr, nullptr),
              MStatus::kSuccess);
    MThreadAsync::release();
    EXPECT_EQ(meeting.metBoth, 2);
}

TEST_F(TaskPool, FaultsMakeInitAndCreateFail) {
    host::setFault(host::fault::kTaskInit, true);
    EXPECT_EQ(MThreadAsync::init(), MStatus::kFailure);
    host::setFault(host::fault::kTaskInit, false);

    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    host::setFault(host::fault::kTaskCreate, true);
    TaskLog log;
    EXPECT_EQ(MThreadAsync::createTask(logBody, &log, logCallback, nullptr), MStatus::kFailure);
    MThreadAsync::release();
    EXPECT_TRUE(log.events.empty());
}

}  // namespace
