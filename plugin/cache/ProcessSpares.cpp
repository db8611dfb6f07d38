#include "cache/ProcessSpares.h"

#include "cache/CacheBudget.h"

#include <malloc.h>

#include <utility>

namespace video {
namespace {

bool overBudget() {
    const CacheBudget& budget = CacheBudget::instance();
    return budget.used() > budget.limit();
}

}  // namespace

ProcessSpares::ProcessSpares() {
    // Made first, so that it outlives the spares, which refund it as they go.
    CacheBudget::instance();
}

ProcessSpares::~ProcessSpares() {
    freeAll();
}

ProcessSpares& ProcessSpares::instance() {
    static ProcessSpares spares;
    return spares;
}

void ProcessSpares::keep(FrameBuffer buffer) {
    if (!buffer || overBudget()) {
        return;
    }
    buffer.moveCharge(&account_, Spend::kSpares);
    const std::lock_guard<std::mutex> lock(mutex_);
    std::deque<Spare>& ofSize = spares_[buffer.bytes()];
    ofSize.push_back(Spare{std::move(buffer), Clock::now()});
    if (!trimmer_.joinable() && !stopping_) {
        trimmer_ = std::thread([this] { trimWhenDue(); });
    }
    changed_.notify_one();
}

FrameBuffer ProcessSpares::take(size_t bytes, BudgetAccount* account,
                                FrameReservation& reservation) {
    FrameBuffer buffer;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto found = spares_.find(bytes);
        if (found == spares_.end()) {
            return buffer;
        }
        buffer = std::move(found->second.back().buffer);
        found->second.pop_back();
        if (found->second.empty()) {
            spares_.erase(found);
        }
    }
    buffer.chargeTo(account, reservation);
    return buffer;
}

bool ProcessSpares::holds(size_t bytes) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return spares_.count(bytes) > 0;
}

FrameBuffer ProcessSpares::giveUp(size_t sparing) {
    FrameBuffer buffer;
    const std::lock_guard<std::mutex> lock(mutex_);
    auto oldest = spares_.end();
    for (auto ofSize = spares_.begin(); ofSize != spares_.end(); ++ofSize) {
        if (ofSize->first != sparing &&
            (oldest == spares_.end() ||
             ofSize->second.front().since < oldest->second.front().since)) {
            oldest = ofSize;
        }
    }
    if (oldest == spares_.end()) {
        return buffer;
    }
    buffer = std::move(oldest->second.front().buffer);
    oldest->second.pop_front();
    if (oldest->second.empty()) {
        spares_.erase(oldest);
    }
    buffer.refund();
    return buffer;
}

std::vector<FrameBuffer> ProcessSpares::takeDue(Clock::time_point now) {
    std::vector<FrameBuffer> due;
    for (auto ofSize = spares_.begin(); ofSize != spares_.end();) {
        std::deque<Spare>& spares = ofSize->second;
        while (!spares.empty() && (spares.front().since + keptFor_ <= now || overBudget())) {
            // Refunded at once, so that the budget is seen back within its limit.
            spares.front().buffer.refund();
            due.push_back(std::move(spares.front().buffer));
            spares.pop_front();
        }
        ofSize = spares.empty() ? spares_.erase(ofSize) : std::next(ofSize);
    }
    return due;
}

ProcessSpares::Clock::time_point ProcessSpares::nextDue() const {
    Clock::time_point first = Clock::time_point::max();
    for (const auto& ofSize : spares_) {
        first = std::min(first, ofSize.second.front().since + keptFor_);
    }
    return first;
}

void ProcessSpares::trim(Clock::time_point now) {
    std::vector<FrameBuffer> due;
    const std::lock_guard<std::mutex> lock(mutex_);
    due = takeDue(now);
}

void ProcessSpares::trimWhenDue() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (spares_.empty()) {
            changed_.wait(lock);
            continue;
        }
        // Spares let go of within a second of each other are freed together, and the C
        // library's heaps trimmed once for them.
        const Clock::time_point due = nextDue() + std::chrono::seconds(1);
        if (Clock::now() < due && !overBudget()) {
            changed_.wait_until(lock, due);
            continue;
        }
        std::vector<FrameBuffer> freed = takeDue(Clock::now());
        lock.unlock();
        if (!freed.empty()) {
            freed.clear();
            // Frames under the C library's mapping threshold are freed into its heaps, which
            // keep the pages: they are handed back to the system here, off every other thread.
            malloc_trim(0);
        }
        lock.lock();
    }
}

void ProcessSpares::freeAll() {
    std::thread trimmer;
    std::map<size_t, std::deque<Spare>> spares;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        trimmer.swap(trimmer_);
    }
    changed_.notify_all();
    if (trimmer.joinable()) {
        trimmer.join();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
    spares.swap(spares_);
}

void ProcessSpares::budgetPassed() {
    {
        // Taken so that the thread, between its look at the budget and its wait, cannot miss it.
        const std::lock_guard<std::mutex> lock(mutex_);
    }
    changed_.notify_all();
}

void ProcessSpares::setKeptFor(Clock::duration keptFor) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        keptFor_ = keptFor;
    }
    changed_.notify_all();
}

size_t ProcessSpares::count() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    size_t spares = 0;
    for (const auto& ofSize : spares_) {
        spares += ofSize.second.size();
    }
    return spares;
}

}  // namespace video
