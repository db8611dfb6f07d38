#include <maya/MThreadAsync.h>

#include <host/Faults.h>
#include <host/Tasks.h>
#include <maya/MGlobal.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
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
    void TearDown() override {
        host::clearFaults();
        setThreadCount(0);
    }

    static void setThreadCount(int count) {
        ASSERT_EQ(MGlobal::executeCommand(("threadCount -n " + std::to_string(count)).c_str()),
                  MStatus::kSuccess);
    }
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

// Two tasks that each wait for the other meet only when both have a thread.
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

TEST_F(TaskPool, TasksRunSideBySideUpToTheThreadCount) {
    setThreadCount(2);
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

// A task that stays on its thread until let go, as a worker parked for its owner's life does.
struct ParkedTask {
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool letGo = false;

    bool waitForStart(std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, limit, [this] { return started; });
    }
    void release() {
        std::lock_guard<std::mutex> lock(mutex);
        letGo = true;
        changed.notify_all();
    }
};

MThreadRetVal park(void* data) {
    auto* task = static_cast<ParkedTask*>(data);
    std::unique_lock<std::mutex> lock(task->mutex);
    task->started = true;
    task->changed.notify_all();
    task->changed.wait(lock, [task] { return task->letGo; });
    return nullptr;
}

void submit(ParkedTask& task) {
    ASSERT_EQ(MThreadAsync::createTask(park, &task, nullptr, nullptr), MStatus::kSuccess);
}

const auto kNever = std::chrono::milliseconds(300);  // long enough for a free thread to start it
const auto kSoon = std::chrono::seconds(10);         // a limit that only stops a hang

TEST_F(TaskPool, ATaskWaitsUntilAThreadIsFree) {
    setThreadCount(1);
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    ParkedTask first, second;
    submit(first);
    submit(second);
    ASSERT_TRUE(first.waitForStart(kSoon));
    EXPECT_FALSE(second.waitForStart(kNever));
    EXPECT_EQ(host::waitingTasks(), 1u);

    first.release();
    EXPECT_TRUE(second.waitForStart(kSoon));
    second.release();
    MThreadAsync::release();
}

TEST_F(TaskPool, ANewThreadCountAppliesToTheRunningPool) {
    setThreadCount(1);
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    ParkedTask first, second, third;
    submit(first);
    submit(second);
    ASSERT_TRUE(first.waitForStart(kSoon));
    setThreadCount(2);
    EXPECT_TRUE(second.waitForStart(kSoon)) << "a larger count starts a waiting task";

    // A smaller count interrupts no running task, and starts none until fewer run.
    setThreadCount(1);
    submit(third);
    first.release();
    EXPECT_FALSE(third.waitForStart(kNever));
    second.release();
    EXPECT_TRUE(third.waitForStart(kSoon));
    third.release();
    MThreadAsync::release();
}

// The last release deletes the threads: a running task is waited for, a task that never
// started never will.
TEST_F(TaskPool, TheLastReleaseDropsTasksThatNeverStarted) {
    setThreadCount(1);
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    ParkedTask running, waiting;
    submit(running);
    submit(waiting);
    ASSERT_TRUE(running.waitForStart(kSoon));

    testing::internal::CaptureStderr();
    std::thread releasing([] { MThreadAsync::release(); });
    const auto limit = std::chrono::steady_clock::now() + kSoon;
    while (host::waitingTasks() > 0 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    running.release();
    releasing.join();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("1 task(s) never started"),
              std::string::npos);
    EXPECT_FALSE(waiting.waitForStart(std::chrono::milliseconds(0)));
}

// The process's thread count, from the kernel.
int processThreads() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::stoi(line.substr(8));
        }
    }
    return -1;
}

TEST_F(TaskPool, ManyTasksUseNoMoreThreadsThanTheCount) {
    setThreadCount(2);
    const int before = processThreads();
    ASSERT_EQ(MThreadAsync::init(), MStatus::kSuccess);
    std::vector<TaskLog> logs(40);
    for (TaskLog& log : logs) {
        ASSERT_EQ(MThreadAsync::createTask(logBody, &log, logCallback, nullptr), MStatus::kSuccess);
    }
    const auto limit = std::chrono::steady_clock::now() + kSoon;
    auto allRan = [&logs] {
        for (TaskLog& log : logs) {
            std::lock_guard<std::mutex> lock(log.mutex);
            if (log.events.size() != 2) {
                return false;
            }
        }
        return true;
    };
    while (!allRan() && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(allRan());
    EXPECT_LE(processThreads(), before + 2);
    MThreadAsync::release();
}

TEST_F(TaskPool, TheThreadCountIsTheNumberOfLogicalProcessorsByDefault) {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    int count = 0;
    ASSERT_EQ(MGlobal::executeCommand("threadCount -q -n", count), MStatus::kSuccess);
    EXPECT_EQ(count, cores);

    ASSERT_EQ(MGlobal::executeCommand("threadCount -n 3", false, true), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("threadCount -q -numberOfThreads", count), MStatus::kSuccess);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(MGlobal::executeCommand("undo"), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("threadCount -q -n", count), MStatus::kSuccess);
    EXPECT_EQ(count, cores) << "threadCount is undoable";

    setThreadCount(0);
    ASSERT_EQ(MGlobal::executeCommand("threadCount -q -n", count), MStatus::kSuccess);
    EXPECT_EQ(count, cores) << "0 means one thread per logical processor";
    EXPECT_EQ(MGlobal::executeCommand("threadCount -n -1"), MStatus::kFailure);
}

}  // namespace
