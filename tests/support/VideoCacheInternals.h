#pragma once

#include "cache/VideoCache.h"
#include "draw/Footage.h"

#include <chrono>
#include <string>

// What tests and benchmarks see of a node's video cache beyond its interface: its store, its
// decoder state, and the worker's steps run one at a time on the calling thread.
struct VideoCacheInternals {
    static FrameCache& cache(VideoCache& video) { return video.cache; }
    static const FrameCache& cache(const VideoCache& video) { return video.cache; }
    static DecoderState& decoder(VideoCache& video) { return video.decoder; }
    // Call with the store lock held.
    static bool setActiveBlocks(VideoCache& video, const CachingJob& job) {
        return video.setActiveBlocks(job);
    }
    // Call with the store lock held.
    static void clearInactiveBlockImages(VideoCache& video) { video.clearInactiveBlockImages(); }
    // Call with the decoder lock held.
    static void decodeBlocks(VideoCache& video, int firstBlock, int lastBlock) {
        video.decodeBlocks(firstBlock, lastBlock);
    }
    // Call with the store lock held.
    static bool storeFrameInCache(VideoCache& video, int block, int index, unsigned char* image,
                                  size_t bytes) {
        return video.storeFrameInCache(block, index, image, bytes);
    }
};

// Has the worker open the video and waits until it is open (true) or found unplayable.
inline bool openVideo(VideoCache& video, const std::string& path) {
    video.open(path.c_str());
    return video.awaitOpen(std::chrono::steady_clock::now() + std::chrono::minutes(1)) ==
           VideoCache::OpenState::kOpen;
}

// A deadline no frame of the tests' media misses.
inline VideoCache::Deadline farDeadline() {
    return std::chrono::steady_clock::now() + std::chrono::minutes(1);
}

inline FrameCache& cacheOf(Footage& footage) {
    return VideoCacheInternals::cache(footage.video());
}
inline DecoderState& decoderOf(Footage& footage) {
    return VideoCacheInternals::decoder(footage.video());
}
inline const FrameCache& cacheOf(const Footage& footage) {
    return VideoCacheInternals::cache(footage.video());
}
