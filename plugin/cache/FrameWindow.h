#pragma once

#include "decode/BlockOfFrame.h"

#include <cstddef>
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

// The frames and blocks a cache keeps around a wanted frame.
struct BlockWindow {
    FrameWindow frames;
    // The blocks holding them, in the order the worker fills them; empty when the wanted
    // frame's block is not a block of the video.
    std::vector<int> blocks;
};

// The window of `frames` frames around `wanted` (in block `wantedBlock`) in a video whose blocks
// start at `starts` (then the frame count): blocks the window cuts are left out, so that each
// block is decoded once, whole; only the wanted block may be cut, when it is longer than the
// window. A wanted frame that is not in `wantedBlock` plans nothing.
template <typename Starts>
BlockWindow planBlockWindow(const Starts& starts, size_t startCount, int wanted, int wantedBlock,
                            int frames);

// Blocks firstBlock to lastBlock in the order the worker fills them: the wanted one first, then
// alternately one further forward and one further back.
std::vector<int> blockVisitingOrder(int firstBlock, int lastBlock, int wantedBlock);

template <typename Starts>
BlockWindow planBlockWindow(const Starts& starts, size_t startCount, int wanted, int wantedBlock,
                            int frames) {
    BlockWindow plan;
    const int blockCount = static_cast<int>(startCount) - 1;
    if (wantedBlock < 0 || wantedBlock >= blockCount || wanted < starts[wantedBlock] ||
        wanted >= starts[wantedBlock + 1]) {
        return plan;
    }
    FrameWindow window = frameWindowAround(wanted, frames, starts[0], starts[startCount - 1]);
    int firstBlock = blockOfFrame(starts, startCount, window.first);
    if (firstBlock != wantedBlock && starts[firstBlock] < window.first) {
        ++firstBlock;
        window.first = starts[firstBlock];
    }
    int lastBlock = blockOfFrame(starts, startCount, window.last);
    if (lastBlock != wantedBlock && starts[lastBlock + 1] - 1 > window.last) {
        --lastBlock;
        window.last = starts[lastBlock + 1] - 1;
    }
    plan.frames = window;
    plan.blocks = blockVisitingOrder(firstBlock, lastBlock, wantedBlock);
    return plan;
}

}  // namespace video
