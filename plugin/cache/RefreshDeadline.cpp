#include "cache/RefreshDeadline.h"

#include <algorithm>
#include <cstdlib>

namespace video {
namespace {

// Long enough for a frame of any size to be decoded on a loaded machine, so that a playblast
// stays exact; a frame that takes longer shows once it comes, through the refresh its worker
// asks for.
constexpr std::chrono::seconds kLongestWait(10);
// Far longer than the drawing between two instances' waits in one refresh, even on a loaded
// machine (a second or two for twelve large videos on two busy cores).
constexpr std::chrono::seconds kPause(5);

}  // namespace

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

RefreshDeadline::RefreshDeadline(Clock::duration longestWait, Clock::duration pause)
    : longestWait_(longestWait), pause_(pause) {}

RefreshDeadline& RefreshDeadline::instance() {
    static RefreshDeadline deadline(longestRefreshWait(std::getenv("CINESHEET_FRAME_WAIT_MS")),
                                    kPause);
    return deadline;
}

RefreshDeadline::Clock::time_point RefreshDeadline::deadlineFor(const void* waiter,
                                                                Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!deadline_ || asked_.count(waiter) != 0 || now - lastActive_ > pause_) {
        deadline_ = now + longestWait_;
        asked_.clear();
    }
    asked_.insert(waiter);
    lastActive_ = now;
    return *deadline_;
}

void RefreshDeadline::waitEnded(Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    lastActive_ = std::max(lastActive_, now);
}

RefreshWait::RefreshWait(const void* waiter, RefreshDeadline& deadlines)
    : deadlines_(deadlines),
      deadline_(deadlines.deadlineFor(waiter, RefreshDeadline::Clock::now())) {}

RefreshWait::~RefreshWait() {
    deadlines_.waitEnded(RefreshDeadline::Clock::now());
}

}  // namespace video
