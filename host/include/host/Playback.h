#pragma once

#include <maya/MMessage.h>
#include <maya/MStatus.h>

#include <string>

// Playback, scrubbing and the named conditions of the host (MAnimControl, MConditionMessage,
// play, playbackOptions), and what tests and benchmarks read of the viewport's timing.
namespace host {

// Sets a condition of MConditionMessage ("playblasting", "playingBack"); its callbacks run, on
// the calling (main) thread, when the state changes.
void setConditionState(const std::string& name, bool state);
// Removes a condition callback; false when the id is no condition callback's.
bool removeConditionCallback(MCallbackId id);

// Holds a condition true for its life, then puts back the state it had.
class ConditionScope {
public:
    explicit ConditionScope(const char* name);
    ~ConditionScope();
    ConditionScope(const ConditionScope&) = delete;
    ConditionScope& operator=(const ConditionScope&) = delete;

private:
    const char* name_;
    bool previous_;
};

// The Time Slider dragged for the life of the scope: MAnimControl::isScrubbing() is true.
class ScrubScope {
public:
    ScrubScope();
    ~ScrubScope();
    ScrubScope(const ScrubScope&) = delete;
    ScrubScope& operator=(const ScrubScope&) = delete;
};

// Playback as `play` runs it: see PlayCommand.cpp.
struct PlaybackReport {
    int drawn = 0;
    int skipped = 0;
    double seconds = 0.0;
};
MStatus play(bool forward, PlaybackReport& report);
// What the latest playback drew and skipped.
PlaybackReport latestPlayback();
// Playback options back to Maya's defaults: range 1 to 120, by 1, real-time, looping.
void resetPlaybackOptions();

// The longest time one refresh spent inside plug-in draw callbacks (render notifications,
// prepareForDraw, addUIDrawables) on the main thread since the last reset, in milliseconds.
double longestDrawMilliseconds();
void resetDrawTiming();

}  // namespace host
