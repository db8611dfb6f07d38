#include "cache/VideoCache.h"

#include <cstdlib>
#include <vector>

// One pass over the store under its lock, nothing asked of the worker.
std::pair<int, video::FrameRef> VideoCache::nearestStored(int frame) const {
    std::pair<int, video::FrameRef> nearest{-1, nullptr};
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    const std::vector<int>& starts = cache.blockStarts;
    for (const auto& [block, frames] : cache.blocks) {
        if (block < 0 || static_cast<size_t>(block) >= starts.size()) {
            continue;
        }
        for (size_t slot = 0; slot < frames.size(); ++slot) {
            const int stored = starts[static_cast<size_t>(block)] + static_cast<int>(slot);
            const int distance = std::abs(stored - frame);
            const int best = std::abs(nearest.first - frame);
            // The earlier of two as near: the one a forward play has just shown.
            if (frames[slot] != nullptr && (!nearest.second || distance < best ||
                                            (distance == best && stored < nearest.first))) {
                nearest = {stored, frames[slot]};
            }
        }
    }
    return nearest;
}
