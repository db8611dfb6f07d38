#pragma once

#include <maya/MAnimControl.h>
#include <maya/MTime.h>

namespace host {

// What MAnimControl and playbackOptions set and read; Maya's defaults as a new scene has them.
// Main thread only.
struct PlaybackState {
    MTime minTime{1.0, MTime::uiUnit()};
    MTime maxTime{120.0, MTime::uiUnit()};
    MTime animationStart{1.0, MTime::uiUnit()};
    MTime animationEnd{200.0, MTime::uiUnit()};
    double by = 1.0;
    // 1 is real time; 0 plays every frame, no faster than maxSpeed times real time (0: as fast
    // as frames come).
    double speed = 1.0;
    double maxSpeed = 1.0;
    MAnimControl::PlaybackMode mode = MAnimControl::kPlaybackLoop;
    MAnimControl::PlaybackViewMode viewMode = MAnimControl::kPlaybackViewAll;
    bool playing = false;
    bool stopAsked = false;
    // Playing towards the end of the range (the latest playback's direction).
    bool forward = true;
    int scrubs = 0;
};

PlaybackState& playbackState();

}  // namespace host
