#include "cache/VideoCache.h"

#include "cache/CacheBudget.h"

#include <maya/MThreadAsync.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>

std::atomic<bool> VideoCache::threadIsRunning{false};

namespace {

// How long a refresh waits for a frame being decoded before it gives up and asks again later.
constexpr std::chrono::seconds kLongestFrameWait(10);

}  // namespace

VideoCache::VideoCache() {
    video::CacheBudget::instance().enrol(&cache);
    startBlockCachingThreaded();
}

VideoCache::~VideoCache() {
    stopWorker();
    if (threadData_) {
        waitForWorkerEnd();
        MThreadAsync::release();
    }
    video::CacheBudget::instance().leave(&cache);
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    clearAllData();
}

bool VideoCache::open(const MString& path) {
    const std::unique_lock<std::mutex> lock = lockDecoder();
    clearAllData();
    if (!decoder.source.open(path.asChar())) {
        return false;
    }
    decoder.streamIndex = decoder.source.streamIndex();
    // The cache holds the pictures turned upright.
    decoder.frameWidth = decoder.source.uprightWidth();
    decoder.frameHeight = decoder.source.uprightHeight();
    decoder.pixelAspect = decoder.source.uprightPixelAspect();
    decoder.videoFrameRate = decoder.source.averageFrameRate();
    analyzeGOPs();
    return true;
}

void VideoCache::close() {
    const std::unique_lock<std::mutex> lock = lockDecoder();
    clearAllData();
}

void VideoCache::analyzeGOPs() {
    // The source scanned the stream's keyframes when it opened the file.
    cache.blockStarts.clear();
    for (int start : decoder.source.blockStarts()) {
        cache.blockStarts.append(start);
    }
    // A stream without keyframes has no block; giving it one empty block at its end keeps every
    // reader of the first block's length in range while no frame lies in any block.
    if (cache.blockStarts.length() == 1) {
        cache.blockStarts.append(cache.blockStarts[0]);
    }
}

void VideoCache::setResolutionDivisor(int divisor) {
    if (divisor == decoder.resolutionDivisor) {
        return;
    }
    const std::unique_lock<std::mutex> lock = lockDecoder();
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        clearAllBlockImages(cache.blocks);
        // No spare of the old size may be handed out again.
        cache.frameBuffers.clear();
        decoder.failedFrames.clear();
        decoder.resolutionDivisor = divisor;
    }
    {
        const std::lock_guard<std::mutex> queueLock(cache.queueMutex);
        cache.jobs = {};
    }
    // The frames are to be decoded again, even for a request in the same block.
    cache.lastQueuedBlock = -1;
}

bool VideoCache::addBlockCachingJob(int frame, int windowFrames, CachingJob& job) {
    const MIntArray& starts = cache.blockStarts;
    const int blockCount = static_cast<int>(starts.length()) - 1;
    if (blockCount <= 0 || frame < 0 || frame >= starts[blockCount] || frame < starts[0]) {
        job.block = -1;
        return false;
    }
    // The last block starting at or before the frame (empty blocks share their start).
    int low = 0;
    int high = blockCount;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if (starts[middle] <= frame) {
            low = middle;
        } else {
            high = middle;
        }
    }
    job.frame = frame;
    job.windowFrames = windowFrames;
    job.block = low;
    job.frameInBlock = frame - starts[low];

    // The worker is already serving a window that holds the frame well inside it; a frame
    // further off moves the window before playback reaches its edge.
    const long long moved = std::llabs(static_cast<long long>(frame) - cache.lastQueuedFrame);
    if (cache.lastQueuedBlock == job.block && cache.lastQueuedWindow == windowFrames &&
        moved <= std::max(windowFrames, 1) / 4) {
        return true;
    }
    cache.lastQueuedBlock = job.block;
    cache.lastQueuedFrame = frame;
    cache.lastQueuedWindow = windowFrames;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.jobs.push(job);
    }
    cache.jobQueued.notify_one();
    return true;
}

bool VideoCache::awaitFrame(const CachingJob& job, const FrameUse& show) {
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
    // Held through `show`, so that the frame cannot be evicted while it is copied; released
    // while waiting. The worker wakes this thread whenever the store changes, so the frame is
    // shown as soon as it is stored: that changes only when it is seen, not what is shown.
    std::unique_lock<std::mutex> storeLock(cache.storeMutex);
    for (;;) {
        if (listed(decoder.failedFrames, wanted)) {
            return false;
        }
        auto found = cache.blocks.find(job.block);
        if (found != cache.blocks.end() && found->second.size() > slotIndex &&
            found->second[slotIndex] != nullptr) {
            return show(found->second[slotIndex]);
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

bool VideoCache::queueIfIdle(const CachingJob& job) {
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

bool VideoCache::workerRunning() const {
    return threadData_ && !threadData_->finished;
}

std::unique_lock<std::mutex> VideoCache::lockDecoder() {
    decoder.interrupt.store(true);
    std::unique_lock<std::mutex> lock(cache.decoderMutex);
    decoder.interrupt.store(false);
    return lock;
}

void VideoCache::clearAllData() {
    {
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
    decoder.frameWidth = 0;
    decoder.frameHeight = 0;
    decoder.pixelAspect = AVRational{1, 1};
    decoder.videoFrameRate = 0.0;
    cache.blockStarts.clear();
    cache.blockStarts.append(0);
    cache.blockStarts.append(0);
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.jobs = {};
    }
    cache.lastQueuedBlock = -1;
}
