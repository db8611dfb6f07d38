#include "cache/CacheJobQueue.h"

#include "cache/FrameWindow.h"

#include <limits>
#include <utility>

void CacheJobQueue::stop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    running_.store(false);
    jobs_ = {};
    toOpen_.reset();
    scanDue_ = false;
    parkedJob_.reset();
    unfinished_.reset();
}

void CacheJobQueue::askToOpen(const std::string& path) {
    const std::lock_guard<std::mutex> lock(mutex_);
    toOpen_ = OpenRequest{path, ++openGeneration_};
}

bool CacheJobQueue::outdated(long generation) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return generation != openGeneration_ || !running_;
}

void CacheJobQueue::retryOpen(const OpenRequest& request) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (running_ && request.generation == openGeneration_ && !toOpen_) {
        toOpen_ = request;
    }
}

void CacheJobQueue::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    jobs_ = {};
    unfinished_.reset();
    scanDue_ = false;
    parkedJob_.reset();
    toOpen_.reset();
    ++openGeneration_;
}

void CacheJobQueue::dropJobs() {
    const std::lock_guard<std::mutex> lock(mutex_);
    jobs_ = {};
    unfinished_.reset();
}

void CacheJobQueue::push(const CachingJob& job) {
    const std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push(job);
}

bool CacheJobQueue::pushIfIdle(const CachingJob& job) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!jobs_.empty()) {
        return false;
    }
    jobs_.push(job);
    return true;
}

bool CacheJobQueue::jobWaiting() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return !jobs_.empty();
}

size_t CacheJobQueue::jobCount() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return jobs_.size();
}

std::optional<CachingJob> CacheJobQueue::newestJob() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (jobs_.empty()) {
        return std::nullopt;
    }
    return jobs_.back();
}

int CacheJobQueue::newestJobFrame() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return jobs_.empty() ? -1 : jobs_.back().frame;
}

void CacheJobQueue::leaveUnfinished(const CachingJob& job) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (jobs_.empty()) {
        unfinished_ = job;
    }
}

bool CacheJobQueue::take(Work& next) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!running_) {
        return false;
    }
    next.open = std::move(toOpen_);
    toOpen_.reset();
    next.scan = false;
    if (next.open) {
        return true;
    }
    if (jobs_.empty()) {
        if (unfinished_) {
            next.job = *unfinished_;
            unfinished_.reset();
            return true;
        }
        next.scan = scanWanted();
        return next.scan;
    }
    // A job waiting for the scan, or left for more urgent work, is out of date as well.
    parkedJob_.reset();
    unfinished_.reset();
    while (jobs_.size() > 1) {
        jobs_.pop();
    }
    next.job = jobs_.front();
    jobs_.pop();
    return true;
}

CacheJobQueue::Waiting CacheJobQueue::waiting() const {
    Waiting waiting;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!running_) {
        return waiting;
    }
    if (toOpen_) {
        waiting.kind = Waiting::kOpen;
    } else if (!jobs_.empty()) {
        waiting.kind = Waiting::kJob;
        waiting.job = jobs_.back();
    } else if (unfinished_) {
        waiting.kind = Waiting::kJob;
        waiting.job = *unfinished_;
    } else if (scanWanted()) {
        waiting.kind = Waiting::kScan;
        waiting.scan = scanUrgency();
    }
    return waiting;
}

void CacheJobQueue::scanFromNowOn() {
    const std::lock_guard<std::mutex> lock(mutex_);
    scanDue_ = true;
}

bool CacheJobQueue::startScan(bool listingComplete, int& wantedFrame) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (listingComplete) {
        scanDue_ = false;
        return false;
    }
    wantedFrame = parkedJob_ ? parkedJob_->frame : -1;
    return true;
}

bool CacheJobQueue::scanYields(int packetsScanned, std::optional<video::Urgency>& rank) {
    // Asking the pool is dearer than reading a packet.
    constexpr int kPacketsBetweenRanks = 32;
    const std::lock_guard<std::mutex> lock(mutex_);
    packetsScanned_ = packetsScanned;
    if (toOpen_ || !jobs_.empty() || !scanWanted()) {
        return true;
    }
    if (packetsScanned_ % kPacketsBetweenRanks == 0) {
        rank = scanUrgency();
    }
    return false;
}

void CacheJobQueue::scanSettled(bool complete, int packetsScanned, const std::vector<int>& starts,
                                const std::optional<CachingJob>& cut) {
    const std::lock_guard<std::mutex> lock(mutex_);
    scanDue_ = !complete;
    packetsScanned_ = packetsScanned;
    if (parkedJob_) {
        const bool placed = video::blockOfFrame(starts, starts.size(), parkedJob_->frame) >= 0;
        if ((placed || complete) && jobs_.empty()) {
            jobs_.push(*parkedJob_);
        }
        if (placed || complete) {
            parkedJob_.reset();
        }
    } else if (cut && jobs_.empty()) {
        jobs_.push(*cut);
    }
}

void CacheJobQueue::parkForScan(const CachingJob& job) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (jobs_.empty()) {
        parkedJob_ = job;
    }
}

void CacheJobQueue::holdScan(int packets) {
    const std::lock_guard<std::mutex> lock(mutex_);
    scanHold_ = packets;
}

bool CacheJobQueue::scanHeld() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return scanHold_ >= 0 && packetsScanned_ >= scanHold_;
}

bool CacheJobQueue::scanWanted() const {
    return scanDue_ && (scanHold_ < 0 || packetsScanned_ < scanHold_);
}

video::Urgency CacheJobQueue::scanUrgency() const {
    if (parkedJob_) {
        return video::Urgency{video::Urgency::kAwaited, 0};
    }
    return video::Urgency{video::Urgency::kAhead, std::numeric_limits<long long>::max()};
}
