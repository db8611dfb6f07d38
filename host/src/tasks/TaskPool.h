#pragma once

#include <maya/MThreadAsync.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace host {

// Threads for the asynchronous task service. Tasks may run for as long as their owner
// lives, so a task never waits for another: a new thread starts when none is idle.
class TaskPool {
public:
    static TaskPool& instance();

    // Counts one user; the first one starts the pool.
    void addUser();
    // Drops one user; the last one waits for every task to end and stops the threads.
    // Returns false when there was no user.
    bool removeUser();
    std::size_t users() const;
    // False when the pool has no user.
    bool submit(MThreadFunc func, void* data, MThreadAsyncCallbackFunc callback);

private:
    struct Task {
        MThreadFunc func;
        void* data;
        MThreadAsyncCallbackFunc callback;
    };

    void runThread();
    void stopThreads(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Task> queue_;
    std::vector<std::thread> threads_;
    std::size_t users_ = 0;
    std::size_t idleThreads_ = 0;
    std::size_t busyThreads_ = 0;
    bool stopping_ = false;
};

}  // namespace host
