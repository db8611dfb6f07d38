#pragma once

#include "cache/CacheBudget.h"

#include <cstddef>

namespace budgettest {

// A cache that only counts its frames of `frameBytes`, charged to the process's budget, and gives
// up frames for room until it holds `kept` of them: those it shows.
class CountingCache final : public video::BudgetClient {
public:
    explicit CountingCache(size_t frameBytes = 512 * 1024) : frameBytes_(frameBytes) {
        budget().enrol(this);
    }
    ~CountingCache() {
        budget().leave(this);
        budget().refund(&account(), video::Spend::kFrames, frames_ * frameBytes_);
    }
    CountingCache(const CountingCache&) = delete;
    CountingCache& operator=(const CountingCache&) = delete;

    // Stores a frame when the budget lets it.
    bool store(video::CacheBudget::Need need) {
        if (!budget().reserve(*this, frameBytes_, need)) {
            return false;
        }
        budget().charge(&account(), video::Spend::kFrames, frameBytes_);
        budget().dropReservation();
        ++frames_;
        return true;
    }
    bool giveUpFarthest() override {
        if (frames_ <= kept) {
            return false;
        }
        budget().refund(&account(), video::Spend::kFrames, frameBytes_);
        --frames_;
        ++givenUp;
        return true;
    }
    size_t frames() const { return frames_; }

    size_t kept = 1;
    int givenUp = 0;

private:
    static video::CacheBudget& budget() { return video::CacheBudget::instance(); }
    const size_t frameBytes_;
    size_t frames_ = 0;
};

}  // namespace budgettest
