#include "cache/RefreshDeadline.h"

#include <algorithm>
#include <cstdlib>

namespace video {
namespace {

// Long enough for a frame of any size to be decoded on a loaded machine, so that a playblast
// stays exact; a frame that takes longer shows once it comes, through the refresh its worker
// asks for.
constexpr std::chrono::milliseconds kLongestWait(10000);
// The most a user may set: a refresh waiting longer would look like a hang.
constexpr std::chrono::milliseconds kLongestAllowed(600000);
// Far longer than the drawing between two instances' waits in one refresh, even on a loaded
// machine (a second or two for twelve large videos on two busy cores).
constexpr std::chrono::seconds kPause(5);

}  // namespace

RefreshWaitChoice chooseRefreshWait(const char* setting) {
    if (!setting) {
        return {kLongestWait, {}};
    }
    const std::string given(setting);
    if (given.empty() || given.find_first_not_of("0123456789") != std::string::npos) {
        return {kLongestWait, "CINESHEET_FRAME_WAIT_MS \"" + given +
                                  "\" is not a whole number of milliseconds: it is ignored, a "
                                  "refresh waits up to " +
                                  std::to_string(kLongestWait.count()) + " ms."};
    }
    // Past 18 digits the number would not fit, and is past the limit anyway.
    if (given.size() > 18 || std::stoll(given) > kLongestAllowed.count()) {
        const std::string limit = std::to_string(kLongestAllowed.count());
        return {kLongestAllowed, "CINESHEET_FRAME_WAIT_MS " + given + " is more than " + limit +
                                     " milliseconds: a refresh waits up to " + limit + " ms."};
    }
    return {std::chrono::milliseconds(std::stoll(given)), {}};
}

RefreshDeadline::RefreshDeadline(Clock::duration longestWait, Clock::duration pause)
    : longestWait_(longestWait), pause_(pause) {}

RefreshDeadline& RefreshDeadline::instance() {
    static RefreshDeadline deadline(chooseRefreshWait(std::getenv("CINESHEET_FRAME_WAIT_MS")).wait,
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
