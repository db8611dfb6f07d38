#include "cache/RefreshDeadline.h"

#include <cstdlib>

namespace video {
namespace {

// Long enough for a frame of any size to be decoded on a loaded machine, so that a playblast
// stays exact; a frame that takes longer is warned about.
constexpr std::chrono::milliseconds kLongestWait(10000);
// The most a user may set: a refresh waiting longer would look like a hang.
constexpr std::chrono::milliseconds kLongestAllowed(600000);

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

RefreshDeadline::RefreshDeadline(Clock::duration longestWait) : longestWait_(longestWait) {}

RefreshDeadline& RefreshDeadline::instance() {
    static RefreshDeadline deadline(chooseRefreshWait(std::getenv("CINESHEET_FRAME_WAIT_MS")).wait);
    return deadline;
}

void RefreshDeadline::refreshBegan(Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    began_ = now;
}

void RefreshDeadline::forgetRefresh() {
    const std::lock_guard<std::mutex> lock(mutex_);
    began_.reset();
}

RefreshDeadline::Clock::time_point RefreshDeadline::deadline(Clock::duration wait,
                                                             Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!began_) {
        began_ = now;
    }
    return *began_ + wait;
}

}  // namespace video
