#include "draw/RefreshKind.h"

#include "cache/RefreshDeadline.h"

#include <maya/MAnimControl.h>
#include <maya/MConditionMessage.h>
#include <maya/MGlobal.h>
#include <maya/MString.h>
#include <maya/MTime.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// About what an artist takes for an answer at once, and what a single frame of a long-GOP
// HD clip already held in its block takes to arrive.
constexpr std::chrono::milliseconds kInteractiveWait(100);
constexpr long kLongestInteractiveWait = 1000;

// Read once; what is wrong with it is said when the plug-in loads.
std::chrono::milliseconds interactiveWait() {
    static const std::chrono::milliseconds wait =
        chooseInteractiveWait(std::getenv("CINESHEET_INTERACTIVE_WAIT_MS")).wait;
    return wait;
}

// One frame at the scene's rate, rounded up to the millisecond.
std::chrono::milliseconds scenePeriod() {
    const double seconds = MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds);
    return std::chrono::milliseconds(static_cast<long long>(std::ceil(seconds * 1000.0)));
}

}  // namespace

RefreshKind refreshKindOf(const MHWRender::MFrameContext& context) {
    // "playblasting" holds for the whole of a playblast
    // (https://help.autodesk.com/cloudhelp/2020/ENU/Maya-Tech-Docs/Commands/playblast.html);
    // kImage is "rendering to an image" (MFrameContext.h); outside an interactive session no
    // idle refresh would follow.
    MString destination;
    if (MConditionMessage::getConditionState("playblasting") ||
        context.renderingDestination(destination) == MHWRender::MFrameContext::kImage ||
        MGlobal::mayaState() != MGlobal::kInteractive) {
        return RefreshKind::kExact;
    }
    // Speed 0 is "play every frame" (playbackOptions -ps; MAnimControl::playbackSpeed).
    if (MAnimControl::isPlaying() && MAnimControl::playbackSpeed() == 0.0) {
        return RefreshKind::kEveryFrame;
    }
    return RefreshKind::kInteractive;
}

std::chrono::milliseconds refreshWaitFor(RefreshKind kind) {
    if (kind != RefreshKind::kInteractive) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            video::RefreshDeadline::instance().longestWait());
    }
    return MAnimControl::isPlaying() ? scenePeriod() : interactiveWait();
}

InteractiveWaitChoice chooseInteractiveWait(const char* setting) {
    InteractiveWaitChoice choice{kInteractiveWait, {}};
    if (!setting) {
        return choice;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(setting, &end, 10);
    if (end == setting || *end != '\0' || errno != 0 || value < 0 ||
        value > kLongestInteractiveWait) {
        choice.warning = "CINESHEET_INTERACTIVE_WAIT_MS \"" + std::string(setting) +
                         "\" is not a whole number of milliseconds from 0 to " +
                         std::to_string(kLongestInteractiveWait) + ": it is ignored, the wait is " +
                         std::to_string(kInteractiveWait.count()) + " ms.";
        return choice;
    }
    choice.wait = std::chrono::milliseconds(value);
    return choice;
}
