#include "cache/VideoCache.h"

// One pass over the store under its lock; the pixels are not touched.
video::CachedFrames VideoCache::cachedFrames() const {
    video::CachedFrames cached;
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    const std::vector<int>& starts = cache.blockStarts;
    if (starts.size() < 2) {
        return cached;
    }
    cached.clip = video::FrameWindow{0, starts[starts.size() - 1] - 1};
    for (const auto& [block, frames] : cache.blocks) {
        if (block < 0 || static_cast<unsigned int>(block) >= starts.size()) {
            continue;
        }
        for (size_t slot = 0; slot < frames.size(); ++slot) {
            if (frames[slot] != nullptr) {
                cached.add(starts[block] + static_cast<int>(slot));
            }
        }
    }
    return cached;
}

std::string VideoCache::startTimecode() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.startTimecode;
}
