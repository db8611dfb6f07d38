#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <set>

namespace video {

// The longest wait of one refresh: `setting` is the value of the environment variable
// CINESHEET_FRAME_WAIT_MS (whole milliseconds); unset or not a number gives ten seconds.
std::chrono::milliseconds longestRefreshWait(const char* setting);

// How long the drawing thread may wait for frames in one viewport refresh, all nodes together.
// Each drawn instance asks for its deadline as it is prepared; the instances of one refresh share
// one, so a refresh waits at most one bounded wait whatever the number of nodes. The host tells
// no one which refresh it is in, so a new one is recognised from the asking: an instance asking
// again (each is prepared once per refresh), or anyone asking a while after the current deadline
// passed (the instances prepared after a wait ran out ask right after it; a later ask comes
// from a later refresh).
class RefreshDeadline {
public:
    using Clock = std::chrono::steady_clock;

    // The longest wait of one refresh, and how long after it passed a deadline is still the
    // current refresh's.
    RefreshDeadline(Clock::duration longestWait, Clock::duration staleAfter);
    // The drawing thread's one.
    static RefreshDeadline& instance();

    // The time by which `waiter` (a key of the drawn instance's own) gives up waiting.
    Clock::time_point deadlineFor(const void* waiter, Clock::time_point now);
    Clock::time_point deadlineFor(const void* waiter) { return deadlineFor(waiter, Clock::now()); }

private:
    const Clock::duration longestWait_;
    const Clock::duration staleAfter_;
    std::mutex mutex_;
    std::optional<Clock::time_point> deadline_;
    // Who asked under the current deadline.
    std::set<const void*> asked_;
};

}  // namespace video
