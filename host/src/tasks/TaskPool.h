#pragma once

#include <maya/MThreadAsync.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace host {

// The threads behind MThreadAsync: at most threadLimit() tasks run at once, like Maya's own
// pool, whose size is the session's thread count (threadCount -n). A task waits in the queue
// until a thread is free; a task that blocks keeps its thread, so tasks that never end take
// threads for good and the tasks queued behind them never start.
class TaskPool {
public:
    static TaskPool& instance();

    // Counts one user. No thread starts here: threads start as tasks need them.
    void addUser();
    // Drops one user. The last one deletes the threads: tasks still waiting never start and are
    // dropped (reported on standard error); running tasks are waited for, callbacks included.
    // Returns false when there was no user.
    bool removeUser();
    std::size_t users() const;
    // False when the pool has no user.
    bool submit(MThreadFunc func, void* data, MThreadAsyncCallbackFunc callback);

    // How many tasks may run at once; at least 1.
    std::size_t threadLimit() const;
    // Applies at once: a higher limit starts waiting tasks, a lower one lets running tasks
    // finish and starts no new one until fewer run than the limit.
    void setThreadLimit(std::size_t limit);
    // Tasks queued that have not started.
    std::size_t waitingTasks() const;

private:
    struct Task {
        MThreadFunc func;
        void* data;
        MThreadAsyncCallbackFunc callback;
    };

    TaskPool();
    // Moves waiting tasks to the threads while fewer than the limit run.
    void startWaitingTasks();
    void runThread();
    void stopThreads(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::deque<Task> waiting_;  // not started: every thread allowed is busy
    std::deque<Task> started_;  // started, taken by the next idle thread
    std::vector<std::thread> threads_;
    std::size_t limit_;
    std::size_t users_ = 0;
    std::size_t idleThreads_ = 0;
    std::size_t running_ = 0;  // started tasks, picked up or not
    bool stopping_ = false;
};

}  // namespace host
