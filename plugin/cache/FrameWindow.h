#pragma once

#include <vector>

namespace video {

// Frames first to last, both kept in the cache.
struct FrameWindow {
    int first = 0;
    int last = -1;
    bool contains(int frame) const { return frame >= first && frame <= last; }
    int length() const { return last >= first ? last - first + 1 : 0; }
};

// The `frames` frames (at least one) kept around the wanted one: centred on it, and moved inward
// at the ends of the frames firstFrame to frameCount − 1, so that the window stays full there.
FrameWindow frameWindowAround(int wanted, int frames, int firstFrame, int frameCount);

// Blocks firstBlock to lastBlock in the order the worker fills them: the wanted one first, then
// alternately one further forward and one further back.
std::vector<int> blockVisitingOrder(int firstBlock, int lastBlock, int wantedBlock);

}  // namespace video
