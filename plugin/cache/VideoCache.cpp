#include "cache/VideoCache.h"

#include "cache/CacheBudget.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>

VideoCache::VideoCache(std::function<void()> lateWorkDone, video::DecodingPool& pool)
    : lateWorkDone_(std::move(lateWorkDone)), pool_(pool) {
    video::CacheBudget::instance().enrol(this);
    clearAllData();
}

VideoCache::~VideoCache() {
    stopWorker();
    if (enrolled_) {
        pool_.leave(this);
    }
    video::CacheBudget::instance().leave(this);
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    clearAllData();
}

void VideoCache::open(const MString& path) {
    {
        const std::unique_lock<std::mutex> lock = lockDecoder();
        clearAllData();
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        decoder.openState = OpenState::kOpening;
    }
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.toOpen = OpenRequest{path.asChar(), ++cache.openGeneration};
    }
    lastAsked_ = std::chrono::steady_clock::now().time_since_epoch().count();
    startWorker();
}

VideoCache::OpenState VideoCache::awaitOpen(Deadline deadline) {
    std::unique_lock<std::mutex> storeLock(cache.storeMutex);
    for (;;) {
        if (decoder.openState != OpenState::kOpening) {
            return decoder.openState;
        }
        if (!workerRunning()) {
            return OpenState::kOpening;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            cache.lateWait = FrameCache::kFileAwaited;
            return OpenState::kOpening;
        }
        cache.storeChanged.wait_until(storeLock, deadline);
    }
}

void VideoCache::close() {
    const std::unique_lock<std::mutex> lock = lockDecoder();
    clearAllData();
}

VideoCache::OpenState VideoCache::openState() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.openState;
}

std::string VideoCache::openFailure() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return openFailure_;
}

int VideoCache::frameWidth() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.frameWidth;
}

int VideoCache::frameHeight() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.frameHeight;
}

AVRational VideoCache::pixelAspect() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.pixelAspect;
}

double VideoCache::videoFrameRate() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.videoFrameRate;
}

MIntArray VideoCache::blockStarts() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return cache.blockStarts;
}

void VideoCache::setResolutionDivisor(int divisor) {
    if (divisor == decoder.resolutionDivisor) {
        return;
    }
    const std::unique_lock<std::mutex> lock = lockDecoder();
    std::vector<unsigned char*> dropped;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        clearAllBlockImages();
        // No spare of the old size may be handed out again.
        cache.frameBuffers.clear();
        decoder.failedFrames.clear();
        decoder.resolutionDivisor = divisor;
        dropped = cache.frameBuffers.takeRetired();
    }
    freeBuffers(std::move(dropped));
    {
        const std::lock_guard<std::mutex> queueLock(cache.queueMutex);
        cache.jobs = {};
        unfinished_.reset();
    }
    // The frames are to be decoded again, even for a request in the same block.
    cache.lastQueuedBlock = -1;
}

bool VideoCache::addBlockCachingJob(int frame, int windowFrames, CachingJob& job) {
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        const MIntArray& starts = cache.blockStarts;
        job.block = video::blockOfFrame(starts, starts.length(), frame);
        // Past the blocks settled so far, the worker scans on to the frame.
        if (job.block < 0 && (!decoder.scanning || frame < starts[starts.length() - 1])) {
            return false;
        }
        job.frameInBlock =
            job.block < 0 ? -1 : frame - starts[static_cast<unsigned int>(job.block)];
    }
    job.frame = frame;
    job.windowFrames = windowFrames;
    lastAsked_ = std::chrono::steady_clock::now().time_since_epoch().count();

    // The worker is already serving a window that holds the frame well inside it; a frame
    // further off moves the window before playback reaches its edge.
    const long long moved = std::llabs(static_cast<long long>(frame) - cache.lastQueuedFrame);
    if (job.block >= 0 && cache.lastQueuedBlock == job.block &&
        cache.lastQueuedWindow == windowFrames && moved <= std::max(windowFrames, 1) / 4) {
        return true;
    }
    if (cache.lastQueuedFrame >= 0 && frame != cache.lastQueuedFrame) {
        direction_ = frame > cache.lastQueuedFrame ? 1 : -1;
    }
    cache.lastQueuedBlock = job.block;
    cache.lastQueuedFrame = frame;
    cache.lastQueuedWindow = windowFrames;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.jobs.push(job);
    }
    wakePool();
    return true;
}

bool VideoCache::awaitFrame(const CachingJob& asked, const FrameUse& show, Deadline deadline) {
    if (asked.frame < 0 && (asked.block < 0 || asked.frameInBlock < 0)) {
        return false;
    }
    // Held through `show`, so that the frame cannot be evicted while it is copied; released
    // while waiting. The worker wakes this thread whenever the store changes, so the frame is
    // shown as soon as it is stored: that changes only when it is seen, not what is shown.
    std::unique_lock<std::mutex> storeLock(cache.storeMutex);
    CachingJob job = asked;
    if ((job.block < 0 || job.frameInBlock < 0) && !awaitSettledBlock(job, storeLock, deadline)) {
        return false;
    }
    const size_t slotIndex = static_cast<size_t>(job.frameInBlock);
    bool askedAgain = false;
    // Set after an attempt to ask again, so that the store is looked at once more (it was
    // unlocked meanwhile) before waiting, and a busy queue is not asked again before a wake.
    bool justAsked = false;
    const MIntArray& starts = cache.blockStarts;
    if (job.block + 1 >= static_cast<int>(starts.length())) {
        return false;
    }
    const int wanted = starts[static_cast<unsigned int>(job.block)] + job.frameInBlock;
    cache.lateWait = -1;
    cache.shownFrame = wanted;
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
        if (!workerRunning() || !decoder.running) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            cache.lateWait = wanted;
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
    wakePool();
    return true;
}

bool VideoCache::workerRunning() const {
    return workerStarted() && decoder.running;
}

std::unique_lock<std::mutex> VideoCache::lockDecoder() {
    decoder.interrupt.store(true);
    std::unique_lock<std::mutex> lock(cache.decoderMutex);
    decoder.interrupt.store(false);
    return lock;
}

void VideoCache::clearAllData() {
    std::vector<unsigned char*> dropped;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        clearAllBlockImages();
        cache.frameBuffers.clear();
        dropped = cache.frameBuffers.takeRetired();
        decoder.failedFrames.clear();
        cache.activeBlocks.clear();
        cache.window = video::FrameWindow{};
        cache.lateWait = -1;
        cache.shownFrame = -1;
        decoder.openState = OpenState::kClosed;
        openFailure_.clear();
        decoder.scanning = false;
        decoder.streamIndex = -1;
        decoder.frameWidth = 0;
        decoder.frameHeight = 0;
        decoder.pixelAspect = AVRational{1, 1};
        decoder.videoFrameRate = 0.0;
        decoder.startTimecode.clear();
        cache.blockStarts.clear();
        cache.blockStarts.append(0);
        cache.blockStarts.append(0);
    }
    freeBuffers(std::move(dropped));
    decoderCharge_.reset();
    lanes_.clear();
    laneCharge_.reset();
    lanesTried_ = false;
    decoder.source.close();
    decoder.blocks.reset();
    seat_.reset();
    released_ = false;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.jobs = {};
        unfinished_.reset();
        cache.scanDue = false;
        cache.parkedJob.reset();
        cache.servedJob = CachingJob{};
        // An open asked for before is dropped, and one under way is left unpublished.
        cache.toOpen.reset();
        ++cache.openGeneration;
    }
    cache.lastQueuedBlock = -1;
}
