#pragma once

#include "cache/VideoCache.h"
#include "draw/Footage.h"

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

// What tests and benchmarks see of a node's video cache beyond its interface: its store, its
// decoder state, and the worker's steps run one at a time on the calling thread.
struct VideoCacheInternals {
    static FrameCache& cache(VideoCache& video) { return video.cache; }
    static const FrameCache& cache(const VideoCache& video) { return video.cache; }
    static DecoderState& decoder(VideoCache& video) { return video.decoder; }
    // Closes the decoder as for a node not drawn for a while.
    static void releaseDecoder(VideoCache& video) {
        const std::lock_guard<std::mutex> lock(video.cache.decoderMutex);
        video.releaseDecoder();
    }
    // How many decoders decode the blocks side by side: 1 unless every frame is a keyframe.
    static size_t laneCount(VideoCache& video) {
        const std::lock_guard<std::mutex> lock(video.cache.decoderMutex);
        return video.laneDecoders().size();
    }
    // Call with the store lock held.
    static bool setActiveBlocks(VideoCache& video, const CachingJob& job) {
        return video.setActiveBlocks(job);
    }
    // Call with the store lock held; the frames evicted are let go of on return.
    static void clearInactiveBlockImages(VideoCache& video) { video.clearInactiveBlockImages(); }
    // Call with the decoder lock held.
    static void decodeBlocks(VideoCache& video, int firstBlock, int lastBlock) {
        video.decodeBlocks(firstBlock, lastBlock);
    }
    // Call with the store lock held.
    static bool storeFrameInCache(VideoCache& video, int block, int index, video::FrameRef image) {
        return video.storeFrameInCache(block, index, image);
    }
    // The worker's packet scan stops once it has read `packets` packets, until released.
    static void holdScan(VideoCache& video, int packets) {
        const std::lock_guard<std::mutex> lock(video.cache.queueMutex);
        video.cache.scanHold = packets;
    }
    static void releaseScan(VideoCache& video) {
        {
            const std::lock_guard<std::mutex> lock(video.cache.queueMutex);
            video.cache.scanHold = -1;
        }
        video.wakePool();
    }
    // Whether the scan has stopped at its hold.
    static bool scanHeld(VideoCache& video) {
        const std::lock_guard<std::mutex> lock(video.cache.queueMutex);
        return video.cache.scanHold >= 0 && video.cache.packetsScanned >= video.cache.scanHold;
    }
    // Waits for the scan to reach its hold; the worker tells nobody, so this looks now and then.
    static bool awaitScanHeld(VideoCache& video) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!scanHeld(video)) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
};

// Has the worker open the video and waits until it is open with every frame listed (true) or
// found unplayable.
inline bool openVideo(VideoCache& video, const std::string& path) {
    video.open(path.c_str());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    return video.awaitOpen(deadline) == VideoCache::OpenState::kOpen &&
           video.awaitListing(deadline);
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
