#include "cache/VideoCache.h"

#include "cache/CacheBudget.h"
#include "picture/CacheImage.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <utility>

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
    const std::unique_lock<std::mutex> lock = video_.lock();
    clearAllData();
}

void VideoCache::startWorker() {
    if (!enrolled_) {
        pool_.enrol(this);
        enrolled_ = true;
    }
    pool_.wake();
}

void VideoCache::wakePool() {
    if (enrolled_) {
        pool_.wake();
    }
}

void VideoCache::stopWorker() {
    // A file being read is left at its next read, and no work is taken after the stop.
    video_.stopForGood();
    queue_.stop();
    // Likewise for a frame wait, which looks at the stop under the store's lock.
    store_.wakeWaits();
}

bool VideoCache::workerRunning() const {
    return workerStarted() && queue_.running();
}

void VideoCache::open(const std::string& path) {
    {
        const std::unique_lock<std::mutex> lock = video_.interruptAndLock();
        clearAllData();
        store_.markOpening();
    }
    queue_.askToOpen(path);
    worker_.noteAsked();
    startWorker();
}

VideoCache::OpenState VideoCache::awaitOpen(Deadline deadline) {
    return store_.awaitOpen(deadline, [this] { return workerRunning(); });
}

bool VideoCache::awaitListing(Deadline deadline) {
    return store_.awaitListing(deadline, [this] { return workerRunning(); });
}

void VideoCache::close() {
    const std::unique_lock<std::mutex> lock = video_.interruptAndLock();
    clearAllData();
}

VideoCache::OpenState VideoCache::openState() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.openState; });
}

std::string VideoCache::openFailure() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.failure; });
}

int VideoCache::frameWidth() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.frameWidth; });
}

int VideoCache::frameHeight() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.frameHeight; });
}

AVRational VideoCache::pixelAspect() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.pixelAspect; });
}

double VideoCache::videoFrameRate() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.videoFrameRate; });
}

std::string VideoCache::startTimecode() const {
    return store_.read([](const FrameStore::Contents& c) { return c.facts.startTimecode; });
}

long long VideoCache::waitPolls() const {
    return store_.read([](const FrameStore::Contents& c) { return c.waitPolls; });
}

void VideoCache::setResolutionDivisor(int divisor) {
    if (divisor == store_.resolutionDivisor()) {
        return;
    }
    const std::unique_lock<std::mutex> lock = video_.interruptAndLock();
    store_.setResolutionDivisor(divisor);
    dropFrames(store_.dropAllFrames());
}

video::HeldFrame VideoCache::nearestHeld(int frame) const {
    std::pair<int, video::FrameRef> stored = store_.nearestStored(frame);
    if (!stored.second) {
        return {};
    }
    const int divisor = resolutionDivisor();
    return video::HeldFrame{stored.first, std::move(stored.second),
                            video::reducedSize(frameWidth(), divisor),
                            video::reducedSize(frameHeight(), divisor), texelFormat()};
}

void VideoCache::setDepth(decode::CacheDepth depth) {
    // Only the drawing thread writes it.
    if (depth == store_.read([](const FrameStore::Contents& c) { return c.depth; })) {
        return;
    }
    const std::unique_lock<std::mutex> lock = video_.interruptAndLock();
    if (!store_.setDepth(depth)) {
        return;
    }
    dropFrames(store_.dropAllFrames());
    // The conversion picture is another size at the other depth.
    if (video_.source().isOpen()) {
        video_.charge(store_.texelFormat());
    }
}

void VideoCache::dropFrames(FrameStore::Frames dropped) {
    // No spare of the old size may be handed out again.
    store_.frameBuffers()->dropSpares();
    dropped.clear();
    queue_.dropJobs();
    // The frames are to be decoded again, even for a request in the same block.
    lastQueuedBlock_ = -1;
}

bool VideoCache::addBlockCachingJob(int frame, int windowFrames, CachingJob& job) {
    const std::optional<FrameStore::Placed> placed = store_.place(frame, job);
    if (!placed) {
        return false;
    }
    job.frame = frame;
    job.windowFrames = windowFrames;
    worker_.noteAsked();

    // The worker is already serving a window that holds the frame well inside it; a frame
    // further off moves the window before playback reaches its edge. A window the budget keeps
    // to the frame shown and the next moves at every step. A stored frame of another block needs
    // no job either: with a block per frame (intra-only footage) each step would otherwise wake
    // the pool to find nothing to do.
    const long long moved = std::llabs(static_cast<long long>(frame) - lastQueuedFrame_);
    if (job.block >= 0 && (lastQueuedBlock_ == job.block || placed->stored) &&
        lastQueuedWindow_ == windowFrames && moved <= std::max(windowFrames, 1) / 4 &&
        (placed->nextKept || moved == 0)) {
        return true;
    }
    if (lastQueuedFrame_ >= 0 && frame != lastQueuedFrame_) {
        worker_.noteDirection(frame > lastQueuedFrame_ ? 1 : -1);
    }
    lastQueuedBlock_ = job.block;
    lastQueuedFrame_ = frame;
    lastQueuedWindow_ = windowFrames;
    queue_.push(job);
    wakePool();
    return true;
}

bool VideoCache::awaitFrame(const CachingJob& job, const FrameUse& show, Deadline deadline) {
    const video::FrameRef frame = store_.awaitFrame(
        job, deadline, [this] { return workerRunning(); },
        [this](const CachingJob& again) { return queueIfIdle(again); });
    return frame && show(frame->pixels());
}

bool VideoCache::queueIfIdle(const CachingJob& job) {
    if (!queue_.pushIfIdle(job)) {
        return false;
    }
    wakePool();
    return true;
}

void VideoCache::clearAllData() {
    {
        const FrameStore::Frames dropped = store_.clear();
        store_.frameBuffers()->dropSpares();
    }
    video_.close();
    scan_.forget();
    // An open asked for before is dropped, and one under way is left unpublished.
    queue_.clear();
    lastQueuedBlock_ = -1;
}
