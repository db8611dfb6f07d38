#include "sequence/SequenceWindow.h"

#include <algorithm>
#include <climits>

namespace video {

FrameWindow sequenceWindow(int wanted, int frames, const std::optional<FrameWindow>& onDisk) {
    if (onDisk && onDisk->contains(wanted)) {
        return frameWindowAround(wanted, frames, onDisk->first, onDisk->last + 1);
    }
    const long long length = std::max(frames, 1);
    const long long first = std::max<long long>(INT_MIN, wanted - (length - 1) / 2);
    const long long last = std::min<long long>(INT_MAX, first + length - 1);
    return FrameWindow{static_cast<int>(first), static_cast<int>(last)};
}

std::vector<int> readingOrder(const FrameWindow& window, int wanted, PlayDirection direction) {
    if (!window.contains(wanted)) {
        return {};
    }
    if (direction == PlayDirection::kNone) {
        return blockVisitingOrder(window.first, window.last, wanted);
    }
    std::vector<int> order;
    order.reserve(static_cast<size_t>(window.length()));
    const bool forward = direction == PlayDirection::kForward;
    const long long ahead = forward ? window.last : window.first;
    const long long behind = forward ? window.first : window.last;
    const int step = forward ? 1 : -1;
    for (long long frame = wanted; frame != ahead + step; frame += step) {
        order.push_back(static_cast<int>(frame));
    }
    for (long long frame = static_cast<long long>(wanted) - step; frame != behind - step;
         frame -= step) {
        order.push_back(static_cast<int>(frame));
    }
    return order;
}

}  // namespace video
