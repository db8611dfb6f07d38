#pragma once

#include <cstddef>

namespace video {

// The block holding the frame, −1 when it is in none. `starts` holds the first frame of each block,
// then the frame count; empty blocks share their start with the next, which holds the frame. The
// one lookup of a frame's block, for the decoding below the caches and for the caches alike.
template <typename Starts>
int blockOfFrame(const Starts& starts, size_t startCount, int frame) {
    if (startCount < 2 || frame < starts[0] || frame >= starts[startCount - 1]) {
        return -1;
    }
    // The last block starting at or before the frame.
    size_t low = 0;
    size_t high = startCount - 1;
    while (high - low > 1) {
        const size_t middle = low + (high - low) / 2;
        if (starts[middle] <= frame) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return static_cast<int>(low);
}

}  // namespace video
