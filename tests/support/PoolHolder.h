#pragma once

#include "cache/DecodingPool.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

// Holds one thread of a pool from construction until released: a known point to look at, or
// queue, what waits behind it. Leaves the pool when destroyed.
class PoolHolder : public video::PoolClient {
public:
    explicit PoolHolder(video::DecodingPool& pool) : pool_(pool) {
        pool_.enrol(this);
        pool_.wake();
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::minutes(1), [this] { return held_; });
    }
    ~PoolHolder() override {
        release();
        pool_.leave(this);
    }
    PoolHolder(const PoolHolder&) = delete;
    PoolHolder& operator=(const PoolHolder&) = delete;

    bool held() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return held_;
    }
    void release() {
        const std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    std::optional<video::Urgency> nextWork() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        return held_ ? std::nullopt : std::optional<video::Urgency>(video::Urgency{});
    }
    void runWork() override {
        std::unique_lock<std::mutex> lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::minutes(1), [this] { return released_; });
    }

private:
    video::DecodingPool& pool_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool released_ = false;
};
