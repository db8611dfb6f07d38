#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace video {

// The longest wait of one refresh and what the user is to be told about their setting.
struct RefreshWaitChoice {
    std::chrono::milliseconds wait;
    // Empty when the setting was used as given, or not given.
    std::string warning;
};

// The longest wait of one refresh: `setting` is the value of the environment variable
// CINESHEET_FRAME_WAIT_MS (whole milliseconds). Unset gives ten seconds; a value that is not a
// whole number is ignored with a warning, and one past ten minutes is cut down to it with a
// warning (a longer wait would hold the interface for good, and would overflow the clock).
RefreshWaitChoice chooseRefreshWait(const char* setting);

// How long the drawing thread may wait for frames in one viewport refresh, all nodes together.
// Each drawn instance asks for its deadline as it is prepared; the instances of one refresh share
// one, so a refresh waits at most one bounded wait whatever the number of nodes. The host tells
// no one which refresh it is in, so a new one is recognised from the asking: an instance asking
// again (each is prepared once per refresh), or anyone asking after the drawing thread was away
// from waits for a pause (within a refresh, one instance's wait ends and the next one's begins
// after a little drawing).
class RefreshDeadline {
public:
    using Clock = std::chrono::steady_clock;

    // The longest wait of one refresh, and the pause that ends a refresh.
    RefreshDeadline(Clock::duration longestWait, Clock::duration pause);
    // The drawing thread's one.
    static RefreshDeadline& instance();

    // The time by which `waiter` (a key of the drawn instance's own) gives up waiting.
    Clock::time_point deadlineFor(const void* waiter, Clock::time_point now);
    // The waiter's waiting is over, for now.
    void waitEnded(Clock::time_point now);

private:
    const Clock::duration longestWait_;
    const Clock::duration pause_;
    std::mutex mutex_;
    std::optional<Clock::time_point> deadline_;
    // When the drawing thread was last seen asking or waiting.
    Clock::time_point lastActive_;
    // Who asked under the current deadline.
    std::set<const void*> asked_;
};

// One drawn instance's waiting in the current refresh: its deadline, and the end of its waiting
// noted when it goes.
class RefreshWait {
public:
    explicit RefreshWait(const void* waiter,
                         RefreshDeadline& deadlines = RefreshDeadline::instance());
    ~RefreshWait();
    RefreshWait(const RefreshWait&) = delete;
    RefreshWait& operator=(const RefreshWait&) = delete;

    RefreshDeadline::Clock::time_point deadline() const { return deadline_; }

private:
    RefreshDeadline& deadlines_;
    const RefreshDeadline::Clock::time_point deadline_;
};

}  // namespace video
