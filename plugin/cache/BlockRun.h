#pragma once

#include <functional>

namespace video {

// The last block of a run of blocks decoded in one pass from `firstBlock`: the run takes in the
// blocks that follow while they lack frames, up to `lastBlock`.
int runEnd(int firstBlock, int lastBlock, const std::function<bool(int block)>& lacksFrames);

// When a run of blocks, bringing frames `firstFrame` to `endFrame` − 1, gives way to a newer
// request: only where a block after the first begins, and only for a request for a frame the
// run does not bring. A request within the run (a viewport playing on into it) lets it go on.
class RunYield {
public:
    RunYield(int firstBlock, int firstFrame, int endFrame);

    // Asked at each picture with its block (−1 for a picture outside the run); `waitingFrame`
    // gives the frame of the newest waiting request, −1 for none, and is asked only at the first
    // picture of each block after the first.
    bool stopsAt(int block, const std::function<int()>& waitingFrame);

private:
    int currentBlock_;
    int firstFrame_;
    int endFrame_;
};

}  // namespace video
