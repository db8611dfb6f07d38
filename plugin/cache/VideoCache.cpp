#include "cache/VideoCache.h"

#include "cache/CacheBudget.h"
#include "cache/DecoderFootprint.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <vector>

VideoCache::VideoCache(std::function<void()> lateWorkDone, video::DecodingPool& pool)
    : lateWorkDone_(std::move(lateWorkDone)), pool_(pool) {
    decoder.blocks.shareConversionsWith(&pool_);
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

std::vector<int> VideoCache::blockStarts() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return cache.blockStarts;
}

void VideoCache::setResolutionDivisor(int divisor) {
    if (divisor == decoder.resolutionDivisor) {
        return;
    }
    changeFrameForm([this, divisor] {
        decoder.resolutionDivisor = divisor;
        return true;
    });
}

void VideoCache::setCacheDepth(decode::CacheDepth depth) {
    // Only the drawing thread writes it.
    if (depth == decoder.depth) {
        return;
    }
    bool changed = false;
    changeFrameForm([this, depth, &changed] {
        const decode::TexelFormat before = heldTexelFormat();
        decoder.depth = depth;
        changed = heldTexelFormat() != before;
        return changed;
    });
    if (changed) {
        // The conversion picture is another size at the other depth.
        const std::unique_lock<std::mutex> lock = lockDecoder();
        if (decoder.source.isOpen()) {
            chargeDecoder(heldTexelFormat());
        }
    }
}

void VideoCache::chargeDecoder(decode::TexelFormat format) {
    const size_t footprint = video::decoderFootprint(decoder.source.decoder(),
                                                     !decoder.source.orientation().isAsStored(),
                                                     format == decode::TexelFormat::kRgbaHalf);
    decoderCharge_.reset();
    video::CacheBudget::instance().makeRoom(footprint);
    decoderCharge_ = video::BudgetCharge(&account(), video::Spend::kDecoder, footprint);
}

int VideoCache::endedEarlyAt() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return heldEndedEarlyAt();
}

bool VideoCache::lostToEarlyEnd(int frame) const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    const int endedAt = heldEndedEarlyAt();
    const int listedFrames = cache.blockStarts[cache.blockStarts.size() - 1];
    if (endedAt < 0 || frame < endedAt) {
        return false;
    }
    return frame < listedFrames ? listed(decoder.failedFrames, frame)
                                : frame < decoder.framesDeclared;
}

int VideoCache::heldEndedEarlyAt() const {
    const int listedFrames = cache.blockStarts[cache.blockStarts.size() - 1];
    // Once the file is listed, the frames its index declares past those it holds are lost.
    if (!decoder.scanning && decoder.framesDeclared > listedFrames &&
        (decoder.endedEarlyAt < 0 || listedFrames < decoder.endedEarlyAt)) {
        return listedFrames;
    }
    return decoder.endedEarlyAt;
}

decode::TexelFormat VideoCache::texelFormat() const {
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return heldTexelFormat();
}

decode::TexelFormat VideoCache::heldTexelFormat() const {
    return decode::videoTexelFormat(decoder.depth, decoder.pictureFormat);
}

void VideoCache::changeFrameForm(const std::function<bool()>& change) {
    const std::unique_lock<std::mutex> lock = lockDecoder();
    std::vector<video::FrameRef> dropped;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        if (!change()) {
            return;
        }
        dropped = clearAllBlockImages();
        decoder.failedFrames.clear();
    }
    // No spare of the old size may be handed out again.
    cache.frameBuffers->dropSpares();
    dropped.clear();
    {
        const std::lock_guard<std::mutex> queueLock(cache.queueMutex);
        cache.jobs = {};
        unfinished_.reset();
    }
    // The frames are to be decoded again, even for a request in the same block.
    cache.lastQueuedBlock = -1;
}

bool VideoCache::addBlockCachingJob(int frame, int windowFrames, CachingJob& job) {
    bool nextKept = false;
    bool stored = false;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        const std::vector<int>& starts = cache.blockStarts;
        job.block = video::blockOfFrame(starts, starts.size(), frame);
        // Past the blocks settled so far, the worker scans on to the frame.
        if (job.block < 0 && (!decoder.scanning || frame < starts[starts.size() - 1])) {
            return false;
        }
        job.frameInBlock =
            job.block < 0 ? -1 : frame - starts[static_cast<unsigned int>(job.block)];
        const int frameCount = starts[starts.size() - 1];
        // No window yet: the worker has not served this file.
        nextKept = cache.window.length() == 0 ||
                   cache.window.contains(std::min(frame + 1, frameCount - 1));
        stored = slotStored(job.block, job.frameInBlock);
    }
    job.frame = frame;
    job.windowFrames = windowFrames;
    lastAsked_ = std::chrono::steady_clock::now().time_since_epoch().count();

    // The worker is already serving a window that holds the frame well inside it; a frame
    // further off moves the window before playback reaches its edge. A window the budget keeps
    // to the frame shown and the next moves at every step. A stored frame of another block needs
    // no job either: with a block per frame (intra-only footage) each step would otherwise wake
    // the pool to find nothing to do.
    const long long moved = std::llabs(static_cast<long long>(frame) - cache.lastQueuedFrame);
    if (job.block >= 0 && (cache.lastQueuedBlock == job.block || stored) &&
        cache.lastQueuedWindow == windowFrames && moved <= std::max(windowFrames, 1) / 4 &&
        (nextKept || moved == 0)) {
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
    // Released while waiting, and before `show`: the frame's reference keeps it whole while it is
    // copied, so the worker stores on and the budget evicts meanwhile. The worker wakes this
    // thread whenever the store changes, so the frame is shown as soon as it is stored: that
    // changes only when it is seen, not what is shown.
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
    const std::vector<int>& starts = cache.blockStarts;
    if (job.block + 1 >= static_cast<int>(starts.size())) {
        return false;
    }
    const int wanted = starts[static_cast<unsigned int>(job.block)] + job.frameInBlock;
    cache.lateWait = -1;
    cache.shownFrame = wanted;
    video::FrameRef frame;
    while (!frame) {
        if (listed(decoder.failedFrames, wanted)) {
            return false;
        }
        auto found = cache.blocks.find(job.block);
        if (found != cache.blocks.end() && found->second.size() > slotIndex &&
            found->second[slotIndex] != nullptr) {
            frame = found->second[slotIndex];
            continue;
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
    storeLock.unlock();
    return show(frame->pixels());
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
    std::vector<video::FrameRef> dropped;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        dropped = clearAllBlockImages();
        decoder.failedFrames.clear();
        decoder.endedEarlyAt = -1;
        decoder.framesDeclared = 0;
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
        decoder.pictureFormat = AV_PIX_FMT_NONE;
        decoder.videoFrameRate = 0.0;
        decoder.startTimecode.clear();
        cache.blockStarts.clear();
        cache.blockStarts.push_back(0);
        cache.blockStarts.push_back(0);
    }
    cache.frameBuffers->dropSpares();
    dropped.clear();
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
