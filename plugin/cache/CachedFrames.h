#pragma once

#include "cache/FrameWindow.h"

#include <vector>

namespace video {

// Which frames of a clip a cache held at one moment, for showing it: the clip's frames (empty
// while they are not known) and the runs of frames held among them, in increasing order.
struct CachedFrames {
    FrameWindow clip;
    std::vector<FrameWindow> held;

    // Notes a held frame; frames come in increasing order.
    void add(int frame) {
        if (!held.empty() && held.back().last + 1 == frame) {
            held.back().last = frame;
        } else {
            held.push_back(FrameWindow{frame, frame});
        }
    }
};

}  // namespace video
