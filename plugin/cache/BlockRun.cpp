#include "cache/BlockRun.h"

namespace video {

int runEnd(int firstBlock, int lastBlock, const std::function<bool(int block)>& lacksFrames) {
    int end = firstBlock;
    while (end < lastBlock && lacksFrames(end + 1)) {
        ++end;
    }
    return end;
}

RunYield::RunYield(int firstBlock, int firstFrame, int endFrame)
    : currentBlock_(firstBlock), firstFrame_(firstFrame), endFrame_(endFrame) {}

bool RunYield::stopsAt(int block, const std::function<int()>& waitingFrame) {
    if (block <= currentBlock_) {
        return false;
    }
    currentBlock_ = block;
    const int frame = waitingFrame();
    return frame >= 0 && (frame < firstFrame_ || frame >= endFrame_);
}

}  // namespace video
