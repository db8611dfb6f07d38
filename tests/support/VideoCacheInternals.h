#pragma once

#include "cache/VideoCache.h"
#include "draw/Footage.h"

// What tests and benchmarks see of a node's video cache beyond its interface: its store, its
// decoder state, and the worker's steps run one at a time on the calling thread.
struct VideoCacheInternals {
    static FrameCache& cache(VideoCache& video) { return video.cache; }
    static const FrameCache& cache(const VideoCache& video) { return video.cache; }
    static DecoderState& decoder(VideoCache& video) { return video.decoder; }
    static bool workerFinished(VideoCache& video) {
        return !video.threadData_ || video.threadData_->finished;
    }
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

inline FrameCache& cacheOf(Footage& footage) {
    return VideoCacheInternals::cache(footage.video());
}
inline DecoderState& decoderOf(Footage& footage) {
    return VideoCacheInternals::decoder(footage.video());
}
inline const FrameCache& cacheOf(const Footage& footage) {
    return VideoCacheInternals::cache(footage.video());
}
