#include <host/Commands.h>
#include <host/Playback.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include "playback/PlaybackState.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <thread>

// Playback driven by the host's clock. Maya plays in one of two ways
// (https://download.autodesk.com/us/maya/2009help/files/Basics_Windows_and_Editors_Timeline_preferences.htm):
// "play every frame" (playbackSpeed 0) updates each frame before showing the next, no faster
// than maxPlaybackSpeed times real time; real time keeps the rate and may not show every frame
// (Autodesk's Maya 6 guide; no later page describes the skipping). The host shows each frame
// with a refresh, and in real time skips the frames whose time has passed when a refresh ends.
// Maya plays on from its event loop until stopped, looping as playbackOptions -loop says; the
// host has no event loop, so a playback goes through the range once, from the current time, and
// returns when it ends, as `play -wait` does.
namespace host {
namespace {

using Clock = std::chrono::steady_clock;

PlaybackReport& latest() {
    static PlaybackReport report;
    return report;
}

// The playback state and "playingBack" for the life of a playback.
class Playing {
public:
    explicit Playing(bool forward) {
        PlaybackState& state = playbackState();
        state.playing = true;
        state.stopAsked = false;
        state.forward = forward;
        setConditionState("playingBack", true);
    }
    ~Playing() {
        playbackState().playing = false;
        playbackState().stopAsked = false;
        setConditionState("playingBack", false);
    }
    Playing(const Playing&) = delete;
    Playing& operator=(const Playing&) = delete;
};

}  // namespace

PlaybackReport latestPlayback() {
    return latest();
}

MStatus play(bool forward, PlaybackReport& report) {
    PlaybackState& state = playbackState();
    if (state.playing) {
        return MStatus::kFailure;
    }
    const MTime::Unit unit = MTime::uiUnit();
    const double first = state.minTime.as(unit);
    const double last = state.maxTime.as(unit);
    if (last < first || !(state.by > 0.0)) {
        return MStatus::kInvalidParameter;
    }
    // From the current time; from the other end when it is at or past the one played towards.
    double start = currentTime().as(unit);
    if (forward ? (start >= last || start < first) : (start <= first || start > last)) {
        start = forward ? first : last;
    }
    const int frames = static_cast<int>(std::floor(
                           std::fabs((forward ? last : first) - start) / state.by + 1e-6)) +
                       1;
    const double sceneRate = 1.0 / MTime(1.0, unit).as(MTime::kSeconds);
    const bool everyFrame = state.speed == 0.0;
    const double rate = everyFrame ? state.maxSpeed : state.speed;
    // Seconds between two frames shown; 0 shows them as fast as they come.
    const double step = rate > 0.0 ? state.by / (sceneRate * rate) : 0.0;

    report = PlaybackReport();
    const Playing playing(forward);
    const Clock::time_point began = Clock::now();
    auto dueAt = [&](int index) {
        return began + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(step * index));
    };
    int index = 0;
    while (index < frames && !state.stopAsked) {
        std::this_thread::sleep_until(dueAt(index));
        MStatus status = setCurrentTime(MTime(start + (forward ? 1 : -1) * index * state.by, unit));
        if (status) {
            status = refresh();
        }
        if (!status) {
            return status;
        }
        ++report.drawn;
        int next = index + 1;
        if (!everyFrame && step > 0.0) {
            const std::chrono::duration<double> elapsed = Clock::now() - began;
            const int due = static_cast<int>(std::floor(elapsed.count() / step));
            next = std::max(next, std::min(due, frames));
        }
        report.skipped += next - index - 1;
        index = next;
    }
    report.seconds = std::chrono::duration<double>(Clock::now() - began).count();
    latest() = report;
    char line[128];
    std::snprintf(line, sizeof line, "play: %d frames drawn, %d skipped in %.3f s", report.drawn,
                  report.skipped, report.seconds);
    std::cerr << line << std::endl;
    return MStatus::kSuccess;
}

}  // namespace host
