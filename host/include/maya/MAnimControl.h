#pragma once

// OpenMayaAnim's control of the Time Slider and of playback: the playback range, the step, the
// speed, and whether Maya is playing or being scrubbed. All members are static.
// https://help.autodesk.com/cloudhelp/2023/ENU/MAYA-API-REF/cpp_ref/class_m_anim_control.html
// The declarations are those of MAnimControl.h (2022-2024). The host keeps no key settings, so
// the auto-key and tangent members are left out.

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MAnimControl {
public:
    enum PlaybackMode { kPlaybackOnce, kPlaybackLoop, kPlaybackOscillate };
    enum PlaybackViewMode { kPlaybackViewAll, kPlaybackViewActive };

    static bool isValid();

    static MAnimControl::PlaybackMode playbackMode();
    static MStatus setPlaybackMode(PlaybackMode newMode);
    static MAnimControl::PlaybackViewMode viewMode();
    static MStatus setViewMode(PlaybackViewMode newMode);
    // The step between the frames shown.
    static double playbackBy();
    static MStatus setPlaybackBy(const double& newTime);

    // The playback range.
    static MTime minTime();
    static MTime maxTime();
    static MStatus setMinTime(MTime newMinTime);
    static MStatus setMaxTime(MTime newMaxTime);
    static MStatus setMinMaxTime(MTime min, MTime max);
    // The Range Slider's range.
    static MTime animationStartTime();
    static MTime animationEndTime();
    static MStatus setAnimationStartTime(MTime newStartTime);
    static MStatus setAnimationEndTime(MTime newEndTime);
    static MStatus setAnimationStartEndTime(MTime newStartTime, MTime newEndTime);

    static MTime currentTime();
    static MStatus setCurrentTime(const MTime& newTime);

    // The speed factor of playback; 0 plays every frame.
    static double playbackSpeed();
    static MStatus setPlaybackSpeed(double newSpeed);

    // Playback through the range, to its end or its start, until the range (looped as the mode
    // says) is played through or stop is called.
    static MStatus playForward();
    static MStatus playBackward();
    static MStatus stop();
    static bool isPlaying();
    // The Time Slider is being dragged while Maya is not playing.
    static bool isScrubbing();
};

OPENMAYA_NAMESPACE_CLOSE
