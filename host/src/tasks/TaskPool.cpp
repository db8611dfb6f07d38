#include "tasks/TaskPool.h"

#include "tasks/ThreadCount.h"

#include <iostream>

namespace host {

// Never destroyed: a task still running at exit must not meet a destroyed pool.
TaskPool& TaskPool::instance() {
    static TaskPool* pool = new TaskPool;
    return *pool;
}

TaskPool::TaskPool() : limit_(logicalCores()) {}

void TaskPool::addUser() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++users_;
}

bool TaskPool::removeUser() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (users_ == 0) {
        return false;
    }
    if (--users_ == 0) {
        stopThreads(lock);
    }
    return true;
}

std::size_t TaskPool::users() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return users_;
}

bool TaskPool::submit(MThreadFunc func, void* data, MThreadAsyncCallbackFunc callback) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (users_ == 0) {
        return false;
    }
    waiting_.push_back(Task{func, data, callback});
    startWaitingTasks();
    return true;
}

std::size_t TaskPool::threadLimit() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return limit_;
}

void TaskPool::setThreadLimit(std::size_t limit) {
    std::lock_guard<std::mutex> lock(mutex_);
    limit_ = limit > 0 ? limit : 1;
    startWaitingTasks();
}

std::size_t TaskPool::waitingTasks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.size();
}

// A task counts as started once it is handed to the threads, so a release right after
// createTask finds it started whether or not a thread has picked it up yet.
void TaskPool::startWaitingTasks() {
    while (!stopping_ && !waiting_.empty() && running_ < limit_) {
        started_.push_back(waiting_.front());
        waiting_.pop_front();
        ++running_;
        if (idleThreads_ < started_.size()) {
            ++idleThreads_;  // it takes a started task as soon as it runs
            threads_.emplace_back(&TaskPool::runThread, this);
        } else {
            wake_.notify_one();
        }
    }
}

// A thread is idle from its start and again from the end of each task, before it starts the
// next waiting one: no new thread starts while an idle one is there to take the task.
void TaskPool::runThread() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !started_.empty(); });
        --idleThreads_;
        if (started_.empty()) {
            return;
        }
        const Task task = started_.front();
        started_.pop_front();
        lock.unlock();
        if (task.func != nullptr) {
            task.func(task.data);
        }
        if (task.callback != nullptr) {
            task.callback(task.data);
        }
        lock.lock();
        --running_;
        ++idleThreads_;
        startWaitingTasks();
        finished_.notify_all();
    }
}

// Called with the lock held by the last user. Maya deletes its threads when the last user
// releases; a thread is not deleted under a running task, so those are waited for.
void TaskPool::stopThreads(std::unique_lock<std::mutex>& lock) {
    if (!waiting_.empty()) {
        std::cerr << "MThreadAsync::release: " << waiting_.size()
                  << " task(s) never started and will not run\n";
        waiting_.clear();
    }
    stopping_ = true;
    finished_.wait(lock, [this] { return running_ == 0; });
    wake_.notify_all();
    std::vector<std::thread> threads;
    threads.swap(threads_);
    lock.unlock();
    for (std::thread& thread : threads) {
        thread.join();
    }
    lock.lock();
    stopping_ = false;
    startWaitingTasks();
}

}  // namespace host
