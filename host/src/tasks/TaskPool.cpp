#include "tasks/TaskPool.h"

namespace host {

// Never destroyed: a task still running at exit must not meet a destroyed pool.
TaskPool& TaskPool::instance() {
    static TaskPool* pool = new TaskPool;
    return *pool;
}

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
    queue_.push_back(Task{func, data, callback});
    if (idleThreads_ < queue_.size()) {
        threads_.emplace_back(&TaskPool::runThread, this);
    } else {
        wake_.notify_one();
    }
    return true;
}

void TaskPool::runThread() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        ++idleThreads_;
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        --idleThreads_;
        if (queue_.empty()) {
            return;
        }
        const Task task = queue_.front();
        queue_.pop_front();
        ++busyThreads_;
        lock.unlock();
        if (task.func != nullptr) {
            task.func(task.data);
        }
        if (task.callback != nullptr) {
            task.callback(task.data);
        }
        lock.lock();
        --busyThreads_;
        idle_.notify_all();
    }
}

// Called with the lock held by the last user; queued tasks still run before the threads end.
void TaskPool::stopThreads(std::unique_lock<std::mutex>& lock) {
    idle_.wait(lock, [this] { return queue_.empty() && busyThreads_ == 0; });
    stopping_ = true;
    wake_.notify_all();
    std::vector<std::thread> threads;
    threads.swap(threads_);
    lock.unlock();
    for (std::thread& thread : threads) {
        thread.join();
    }
    lock.lock();
    stopping_ = false;
}

}  // namespace host
