#include "cache/VideoCache.h"

#include <cstdlib>

// One pass over the store under its lock, nothing asked of the worker: the frame asked for keeps
// its place at the head of the work.
int VideoCache::showNearestStored(int frame, const FrameUse& show) {
    video::FrameRef nearest;
    int nearestFrame = -1;
    {
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        const MIntArray& starts = cache.blockStarts;
        for (const auto& [block, frames] : cache.blocks) {
            if (block < 0 || static_cast<unsigned int>(block) >= starts.length()) {
                continue;
            }
            for (size_t slot = 0; slot < frames.size(); ++slot) {
                const int stored = starts[block] + static_cast<int>(slot);
                // The earlier of two as near: the one a forward play has just shown.
                const bool nearer =
                    nearestFrame < 0 || std::abs(stored - frame) < std::abs(nearestFrame - frame) ||
                    (std::abs(stored - frame) == std::abs(nearestFrame - frame) &&
                     stored < nearestFrame);
                if (frames[slot] != nullptr && nearer) {
                    nearest = frames[slot];
                    nearestFrame = stored;
                }
            }
        }
    }
    return nearest && show(nearest->pixels()) ? nearestFrame : -1;
}
