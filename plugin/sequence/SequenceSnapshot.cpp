#include "sequence/SequenceCache.h"

namespace video {

CachedFrames SequenceCache::cachedFrames() const {
    CachedFrames cached;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (onDisk_) {
        cached.clip = *onDisk_;
    }
    for (const auto& [frame, held] : frames_) {
        if (held.frame != nullptr) {
            cached.add(frame);
        }
    }
    return cached;
}

}  // namespace video
