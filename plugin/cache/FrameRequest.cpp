#include "draw/CineSheetDrawOverride.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <mutex>

namespace {

// How long a refresh waits for a frame being decoded before it gives up and asks again later.
constexpr std::chrono::seconds kLongestFrameWait(10);

// Frame number of the video at the scene frame, when the node plays the video at its own rate.
int videoFrameAt(int sceneFrame, double videoFrameRate, double sceneFrameRate) {
    const double frame = videoFrameRate / sceneFrameRate * sceneFrame;
    return static_cast<int>(
        std::clamp(frame, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool contains(const MIntArray& values, int value) {
    for (unsigned int i = 0; i < values.length(); ++i) {
        if (values[i] == value) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CineSheetDrawOverride::processVideo(MString& path, int frame, int cacheFrames,
                                         double sceneFrameRate, float gamma, CineSheetData* data) {
    if (!(static_cast<double>(gamma) == tableGamma)) {
        buildGammaTable(gamma);
    }
    // A path found missing is recorded without being opened; once the file is there, it is.
    if (path != currentPath || decoder.streamIndex < 0) {
        const std::unique_lock<std::mutex> lock = lockDecoder();
        clearAllData(data);
        const bool opened = openVideoFile(path);
        createTexture(data);
        if (!opened) {
            defaultImage(data);
            // The former file is closed too: nothing is loaded now, and asking again for the
            // same path, or for the former one, opens it anew.
            currentPath = " ";
            return true;
        }
        currentPath = path;
    }
    if (decoder.textureRebuild) {
        const std::unique_lock<std::mutex> lock = lockDecoder();
        createTexture(data);
    }
    if (sceneFrameRate > 0.0 && decoder.videoFrameRate > 0.0) {
        frame = videoFrameAt(frame, decoder.videoFrameRate, sceneFrameRate);
    }
    CachingJob job;
    if (!addBlockCachingJob(frame, cacheFrames, job)) {
        // Outside the clip there is no picture: the blank one is the right one.
        defaultImage(data);
        return true;
    }
    lastFrame = frame;
    return awaitFrame(data, job);
}

bool CineSheetDrawOverride::awaitFrame(CineSheetData* data, CachingJob& job) {
    const MIntArray& starts = cache.blockStarts;
    if (job.block < 0 || job.block + 1 >= static_cast<int>(starts.length()) ||
        job.frameInBlock < 0) {
        return false;
    }
    const int wanted = starts[static_cast<unsigned int>(job.block)] + job.frameInBlock;
    const size_t slotIndex = static_cast<size_t>(job.frameInBlock);
    const auto deadline = std::chrono::steady_clock::now() + kLongestFrameWait;
    bool askedAgain = false;
    // Set after an attempt to ask again, so that the store is looked at once more (it was
    // unlocked meanwhile) before waiting, and a busy queue is not asked again before a wake.
    bool justAsked = false;
    // Held through the upload, so that the frame cannot be evicted while it is copied; released
    // while waiting. The worker wakes this thread whenever the store changes, so the frame is
    // shown as soon as it is stored: that changes only when it is seen, not what is shown.
    std::unique_lock<std::mutex> storeLock(cache.storeMutex);
    for (;;) {
        if (contains(decoder.failedFrames, wanted)) {
            return false;
        }
        auto found = cache.blocks.find(job.block);
        if (found != cache.blocks.end() && found->second.size() > slotIndex &&
            found->second[slotIndex] != nullptr) {
            return updateTexture(data, found->second[slotIndex]);
        }
        // Only a frame being decoded is worth the wait: without a worker none ever is.
        if (!workerRunning() || !decoder.running || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // The budget may have narrowed the window past the frame since it was asked for.
        if (!cache.window.contains(wanted) && !askedAgain && !justAsked) {
            storeLock.unlock();
            askedAgain = queueIfIdle(job);
            storeLock.lock();
            justAsked = true;
            continue;
        }
        justAsked = false;
        ++cache.waitPolls;
        cache.storeChanged.wait_until(storeLock, deadline);
    }
}

bool CineSheetDrawOverride::queueIfIdle(const CachingJob& job) {
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        if (!cache.jobs.empty()) {
            return false;
        }
        cache.jobs.push(job);
    }
    cache.jobQueued.notify_one();
    return true;
}

bool CineSheetDrawOverride::workerRunning() const {
    return threadData != nullptr && !threadData->finished;
}

std::unique_lock<std::mutex> CineSheetDrawOverride::lockDecoder() {
    decoder.interrupt.store(true);
    std::unique_lock<std::mutex> lock(cache.decoderMutex);
    decoder.interrupt.store(false);
    return lock;
}

void CineSheetDrawOverride::clearAllData(CineSheetData*) {
    {
        const std::lock_guard<std::mutex> blockLock(cache.blockMutex);
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        clearAllBlockImages(cache.blocks);
        cache.frameBuffers.clear();
        decoder.failedFrames.clear();
        cache.activeBlocks.clear();
        cache.window = video::FrameWindow{};
    }
    decoder.source.close();
    decoder.blocks.reset();
    decoder.streamIndex = -1;
    decoder.textureRebuild.store(false);
    cache.blockStarts.clear();
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.jobs = {};
    }
    cache.lastQueuedBlock = -1;
}
