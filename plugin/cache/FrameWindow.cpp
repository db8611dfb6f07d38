#include "cache/FrameWindow.h"

#include <algorithm>

namespace video {

FrameWindow frameWindowAround(int wanted, int frames, int firstFrame, int frameCount) {
    const long long length = std::max(frames, 1);
    long long first = static_cast<long long>(wanted) - (length - 1) / 2;
    long long last = first + length - 1;
    if (first < firstFrame) {
        last += firstFrame - first;
        first = firstFrame;
    }
    if (last > frameCount - 1) {
        first = std::max<long long>(firstFrame, first - (last - (frameCount - 1)));
        last = frameCount - 1;
    }
    return FrameWindow{static_cast<int>(first), static_cast<int>(last)};
}

std::vector<int> blockVisitingOrder(int firstBlock, int lastBlock, int wantedBlock) {
    std::vector<int> order;
    if (wantedBlock < firstBlock || wantedBlock > lastBlock) {
        return order;
    }
    order.push_back(wantedBlock);
    for (int step = 1; wantedBlock + step <= lastBlock || wantedBlock - step >= firstBlock;
         ++step) {
        if (wantedBlock + step <= lastBlock) {
            order.push_back(wantedBlock + step);
        }
        if (wantedBlock - step >= firstBlock) {
            order.push_back(wantedBlock - step);
        }
    }
    return order;
}

}  // namespace video
