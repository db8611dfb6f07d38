#pragma once

#include <chrono>

namespace host {

// The time one refresh spends inside plug-in draw code, added up as it goes.
class RefreshDrawTiming {
public:
    using Clock = std::chrono::steady_clock;

    // Times one call into plug-in code for the life of the object.
    class Call {
    public:
        explicit Call(RefreshDrawTiming& timing) : timing_(timing), began_(Clock::now()) {}
        ~Call() { timing_.spent_ += Clock::now() - began_; }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        RefreshDrawTiming& timing_;
        const Clock::time_point began_;
    };

    RefreshDrawTiming() = default;
    // Keeps the refresh's total when it is the longest since the last reset.
    ~RefreshDrawTiming();
    RefreshDrawTiming(const RefreshDrawTiming&) = delete;
    RefreshDrawTiming& operator=(const RefreshDrawTiming&) = delete;

private:
    Clock::duration spent_{};
};

}  // namespace host
