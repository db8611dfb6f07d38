#pragma once

#include "cache/CacheBudget.h"

#include <cstddef>
#include <vector>

namespace budgettest {

// A cache that only counts its frames of `frameBytes`, charged to the process's budget, and gives
// up frames for room until it holds `kept` of them: those it shows.
class CountingCache final : public video::BudgetClient {
public:
    explicit CountingCache(size_t frameBytes = 512 * 1024) : frameBytes_(frameBytes) {
        budget().enrol(this);
    }
    ~CountingCache() { budget().leave(this); }
    CountingCache(const CountingCache&) = delete;
    CountingCache& operator=(const CountingCache&) = delete;

    // Stores a frame when the budget lets it.
    bool store(video::CacheBudget::Need need) {
        video::FrameReservation room = budget().reserve(*this, frameBytes_, need);
        if (!room) {
            return false;
        }
        frames_.push_back(room.takeFor(&account(), frameBytes_));
        return true;
    }
    bool giveUpFarthest() override {
        if (frames_.size() <= kept) {
            return false;
        }
        frames_.pop_back();
        ++givenUp;
        return true;
    }
    size_t frames() const { return frames_.size(); }

    size_t kept = 1;
    int givenUp = 0;

private:
    static video::CacheBudget& budget() { return video::CacheBudget::instance(); }
    const size_t frameBytes_;
    std::vector<video::BudgetCharge> frames_;
};

}  // namespace budgettest
