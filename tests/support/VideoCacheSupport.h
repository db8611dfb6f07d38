#pragma once

#include "cache/VideoCache.h"
#include "footage/Footage.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

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

// The job's frame as the cache hands it over by the deadline, as a refresh waits for it; empty
// when it does not come.
inline std::vector<uint8_t> awaitPixels(VideoCache& cache, const CachingJob& job,
                                        VideoCache::Deadline deadline = farDeadline()) {
    const size_t bytes = static_cast<size_t>(cache.frameWidth()) * cache.frameHeight() * 4;
    std::vector<uint8_t> pixels;
    cache.awaitFrame(
        job,
        [&](const unsigned char* image) {
            pixels.assign(image, image + bytes);
            return true;
        },
        deadline);
    return pixels;
}

// The frame asked for with a window of `windowFrames` frames; empty when it does not come.
inline std::vector<uint8_t> frameOf(VideoCache& cache, int frame, int windowFrames = 24) {
    CachingJob job;
    return cache.addBlockCachingJob(frame, windowFrames, job) ? awaitPixels(cache, job)
                                                              : std::vector<uint8_t>();
}

// Waits for the worker's scan to reach the hold set on the cache's queue; the worker tells
// nobody, so this looks now and then.
inline bool awaitScanHeld(VideoCache& video) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!video.jobQueue().scanHeld()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Lets the scan held on the cache's queue read on.
inline void releaseScan(VideoCache& video) {
    video.jobQueue().holdScan(-1);
    video.wakePool();
}

inline FrameStore& storeOf(Footage& footage) {
    return footage.video().store();
}
inline const FrameStore& storeOf(const Footage& footage) {
    return footage.video().store();
}
