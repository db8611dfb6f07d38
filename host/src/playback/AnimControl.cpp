#include <host/Playback.h>
#include <host/Scene.h>
#include <maya/MAnimControl.h>

#include "core/MainThreadOnly.h"
#include "playback/PlaybackState.h"

// MAnimControl over the host's playback state.
// https://help.autodesk.com/cloudhelp/2023/ENU/MAYA-API-REF/cpp_ref/class_m_anim_control.html
namespace host {

PlaybackState& playbackState() {
    static PlaybackState state;
    return state;
}

void resetPlaybackOptions() {
    playbackState() = PlaybackState();
}

ScrubScope::ScrubScope() {
    ++playbackState().scrubs;
}

ScrubScope::~ScrubScope() {
    --playbackState().scrubs;
}

}  // namespace host

namespace {

MStatus playTowards(bool forward) {
    host::PlaybackReport report;
    return host::play(forward, report);
}

}  // namespace

bool MAnimControl::isValid() {
    return true;
}

MAnimControl::PlaybackMode MAnimControl::playbackMode() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().mode;
}

MStatus MAnimControl::setPlaybackMode(PlaybackMode newMode) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().mode = newMode;
    return MStatus::kSuccess;
}

MAnimControl::PlaybackViewMode MAnimControl::viewMode() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().viewMode;
}

MStatus MAnimControl::setViewMode(PlaybackViewMode newMode) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().viewMode = newMode;
    return MStatus::kSuccess;
}

double MAnimControl::playbackBy() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().by;
}

MStatus MAnimControl::setPlaybackBy(const double& newTime) {
    HOST_MAIN_THREAD_ONLY();
    if (!(newTime > 0.0)) {
        return MStatus::kInvalidParameter;
    }
    host::playbackState().by = newTime;
    return MStatus::kSuccess;
}

MTime MAnimControl::minTime() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().minTime;
}

MTime MAnimControl::maxTime() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().maxTime;
}

MStatus MAnimControl::setMinTime(MTime newMinTime) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().minTime = newMinTime;
    return MStatus::kSuccess;
}

MStatus MAnimControl::setMaxTime(MTime newMaxTime) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().maxTime = newMaxTime;
    return MStatus::kSuccess;
}

MStatus MAnimControl::setMinMaxTime(MTime min, MTime max) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().minTime = min;
    host::playbackState().maxTime = max;
    return MStatus::kSuccess;
}

MTime MAnimControl::animationStartTime() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().animationStart;
}

MTime MAnimControl::animationEndTime() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().animationEnd;
}

MStatus MAnimControl::setAnimationStartTime(MTime newStartTime) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().animationStart = newStartTime;
    return MStatus::kSuccess;
}

MStatus MAnimControl::setAnimationEndTime(MTime newEndTime) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().animationEnd = newEndTime;
    return MStatus::kSuccess;
}

MStatus MAnimControl::setAnimationStartEndTime(MTime newStartTime, MTime newEndTime) {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().animationStart = newStartTime;
    host::playbackState().animationEnd = newEndTime;
    return MStatus::kSuccess;
}

MTime MAnimControl::currentTime() {
    HOST_MAIN_THREAD_ONLY();
    return host::currentTime();
}

MStatus MAnimControl::setCurrentTime(const MTime& newTime) {
    HOST_MAIN_THREAD_ONLY();
    return host::setCurrentTime(newTime);
}

double MAnimControl::playbackSpeed() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().speed;
}

MStatus MAnimControl::setPlaybackSpeed(double newSpeed) {
    HOST_MAIN_THREAD_ONLY();
    if (newSpeed < 0.0) {
        return MStatus::kInvalidParameter;
    }
    host::playbackState().speed = newSpeed;
    return MStatus::kSuccess;
}

MStatus MAnimControl::playForward() {
    HOST_MAIN_THREAD_ONLY();
    return playTowards(true);
}

MStatus MAnimControl::playBackward() {
    HOST_MAIN_THREAD_ONLY();
    return playTowards(false);
}

MStatus MAnimControl::stop() {
    HOST_MAIN_THREAD_ONLY();
    host::playbackState().stopAsked = host::playbackState().playing;
    return MStatus::kSuccess;
}

bool MAnimControl::isPlaying() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().playing;
}

// Maya: interactive scrubbing while it is not playing.
bool MAnimControl::isScrubbing() {
    HOST_MAIN_THREAD_ONLY();
    return host::playbackState().scrubs > 0 && !host::playbackState().playing;
}
