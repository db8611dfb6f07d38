#include "cache/WindowRule.h"

#include <algorithm>

namespace video {

PlayDirection playDirection(int previous, int next, PlayDirection before) {
    const long long step = static_cast<long long>(next) - previous;
    if (step == 0) {
        return before;
    }
    if (step >= 1 && step <= 2) {
        return PlayDirection::kForward;
    }
    if (step >= -2 && step <= -1) {
        return PlayDirection::kBackward;
    }
    return PlayDirection::kNone;
}

void WindowRule::ask(int frame, bool first) {
    direction = first ? PlayDirection::kNone : playDirection(wantedFrame, frame, direction);
    wantedFrame = frame;
    shownFrame = frame;
}

bool WindowRule::neededOnScreen(int frame) const {
    const int step = direction == PlayDirection::kBackward ? -1 : 1;
    return frame == wantedFrame || frame == wantedFrame + step || frame == shownFrame ||
           frame == shownFrame + step;
}

bool WindowRule::narrowPast(int frame) {
    if (frame == wantedFrame) {
        return false;
    }
    if (frame < wantedFrame) {
        window.first = std::max(window.first, frame + 1);
    } else {
        window.last = std::min(window.last, frame - 1);
    }
    return true;
}

}  // namespace video
