#pragma once

#include "cache/FrameWindow.h"
#include "cache/WindowRule.h"

#include <optional>
#include <vector>

namespace video {

// The `frames` frames (at least one) kept around the wanted one: centred on it, and moved inward
// at the ends of the frames on disk when the wanted frame is among them, as for a video.
FrameWindow sequenceWindow(int wanted, int frames, const std::optional<FrameWindow>& onDisk);

// The frames of the window in the order they are read: the wanted one, then those ahead in the
// direction of play and after them the ones behind, nearest first; standing, alternately one
// further forward and one further back.
std::vector<int> readingOrder(const FrameWindow& window, int wanted, PlayDirection direction);

}  // namespace video
