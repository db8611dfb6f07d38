#include "cache/RefreshDeadline.h"

#include <cstdlib>

namespace video {
namespace {

// Long enough for a frame of any size to be decoded on a loaded machine, so that a playblast
// stays exact; a frame that takes longer shows once it comes, through the refresh its worker
// asks for.
constexpr std::chrono::seconds kLongestWait(10);

}  // namespace

RefreshDeadline::RefreshDeadline(Clock::duration longestWait, Clock::duration staleAfter)
    : longestWait_(longestWait), staleAfter_(staleAfter) {}

std::chrono::milliseconds longestRefreshWait(const char* setting) {
    if (setting) {
        char* end = nullptr;
        const long long milliseconds = std::strtoll(setting, &end, 10);
        if (end != setting && *end == '\0' && milliseconds >= 0) {
            return std::chrono::milliseconds(milliseconds);
        }
    }
    return kLongestWait;
}

RefreshDeadline& RefreshDeadline::instance() {
    // Each node prepared after a wait ran out takes far less than a wait (a second or two on a
    // loaded machine), so a deadline stays the current refresh's for one wait more.
    static RefreshDeadline deadline = [] {
        const std::chrono::milliseconds wait =
            longestRefreshWait(std::getenv("CINESHEET_FRAME_WAIT_MS"));
        return RefreshDeadline(wait, wait);
    }();
    return deadline;
}

RefreshDeadline::Clock::time_point RefreshDeadline::deadlineFor(const void* waiter,
                                                                Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!deadline_ || asked_.count(waiter) != 0 || now >= *deadline_ + staleAfter_) {
        deadline_ = now + longestWait_;
        asked_.clear();
    }
    asked_.insert(waiter);
    return *deadline_;
}

}  // namespace video
