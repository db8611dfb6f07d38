#pragma once

#include <chrono>
#include <mutex>
#include <optional>
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

// When the drawing thread stops waiting for frames in the current viewport refresh, all nodes
// together: the waits of a refresh are counted from its start, so a refresh waits at most once
// whatever the number of nodes and instances. A refresh is known by its start, which Maya tells
// through a render notification (see RefreshNotice); one whose start went untold (the first
// refresh of the first node drawn, whose notification is made during it) counts from its first
// wait.
class RefreshDeadline {
public:
    using Clock = std::chrono::steady_clock;

    explicit RefreshDeadline(Clock::duration longestWait);
    // The drawing thread's one.
    static RefreshDeadline& instance();

    // How long a refresh that must show exact frames waits for them at most.
    Clock::duration longestWait() const { return longestWait_; }
    // A refresh begins now.
    void refreshBegan(Clock::time_point now);
    // The refreshes' starts are told no more (and may be again later).
    void forgetRefresh();
    // The time by which a refresh allowed to wait `wait` in all stops waiting.
    Clock::time_point deadline(Clock::duration wait, Clock::time_point now);

private:
    const Clock::duration longestWait_;
    std::mutex mutex_;
    std::optional<Clock::time_point> began_;
};

}  // namespace video
