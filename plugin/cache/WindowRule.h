#pragma once

#include "cache/FrameWindow.h"

#include <cstdlib>
#include <optional>

namespace video {

// Which way the frames asked for move: forward while playing, backward while playing in
// reverse, none when standing or jumping.
enum class PlayDirection { kNone, kForward, kBackward };

// The direction from the frame asked for before to the one asked for now: steps of one or two
// frames (a viewport skipping frames to keep up) are play, anything else a jump.
PlayDirection playDirection(int previous, int next, PlayDirection before);

// How a cache keeps frames, the video's and the image sequence's alike: the frames of the window
// set around the frame asked for are kept; the frame asked for, the frame a refresh shows and the
// next of each in the direction of play (forward when standing) are needed on screen; when the
// budget needs room, the stored frame farthest from the one asked for goes first, never one
// needed on screen, and the window narrows past it so that it is not read again before the
// window next moves.
struct WindowRule {
    FrameWindow window;
    // The frame the window was set around, and the frame last asked for by a refresh.
    int wantedFrame = -1;
    int shownFrame = -1;
    PlayDirection direction = PlayDirection::kNone;

    // A refresh asks for `frame` (`first`: the first since the window was cleared), which the
    // window is to be set around; the direction is that from the frame asked for before.
    void ask(int frame, bool first);
    bool neededOnScreen(int frame) const;
    // Of the stored frames `eachStored` offers, in ascending order, the one to give up first (the
    // earlier of two as far); none when every one is needed on screen. An offer answers whether
    // the frame is the one so far, for the caller to note where it lies.
    template <typename EachStored>
    std::optional<int> farthest(EachStored&& eachStored) const;
    // Narrows the window short of `frame`, which the budget has no room for. The frame asked for
    // is never left out: false for it, the window as it was.
    bool narrowPast(int frame);
};

template <typename EachStored>
std::optional<int> WindowRule::farthest(EachStored&& eachStored) const {
    std::optional<int> farthest;
    long long farthestAway = -1;
    eachStored([&](int frame) {
        const long long away = std::llabs(static_cast<long long>(frame) - wantedFrame);
        if (away <= farthestAway || neededOnScreen(frame)) {
            return false;
        }
        farthest = frame;
        farthestAway = away;
        return true;
    });
    return farthest;
}

}  // namespace video
