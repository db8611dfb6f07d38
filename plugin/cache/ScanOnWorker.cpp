#include "cache/VideoCache.h"

#include <chrono>
#include <mutex>

bool VideoCache::awaitListing(Deadline deadline) {
    std::unique_lock<std::mutex> storeLock(cache.storeMutex);
    cache.storeChanged.wait_until(storeLock, deadline, [this] {
        const bool opening = decoder.openState == OpenState::kOpening ||
                             (decoder.openState == OpenState::kOpen && decoder.scanning);
        return !opening || !workerRunning();
    });
    return decoder.openState == OpenState::kOpen && !decoder.scanning;
}

bool VideoCache::scanWanted() const {
    return cache.scanDue && (cache.scanHold < 0 || cache.packetsScanned < cache.scanHold);
}

// Asked before each packet: any other work of this cache comes first, and more urgent work of
// another cache now and then (asking the pool is dearer than reading a packet).
bool VideoCache::scanPaused() {
    constexpr int kPacketsBetweenRanks = 32;
    if (!decoder.running || decoder.interrupt) {
        return true;
    }
    video::Urgency urgency;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.packetsScanned = decoder.source.packetsScanned();
        if (cache.toOpen || !cache.jobs.empty() || !scanWanted()) {
            return true;
        }
        if (cache.packetsScanned % kPacketsBetweenRanks != 0) {
            return false;
        }
        urgency = scanUrgency();
    }
    return pool_.outranked(urgency);
}

void VideoCache::scanOnWorker() {
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    int wantedFrame = -1;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        if (!decoder.source.isOpen() || decoder.source.listingComplete()) {
            cache.scanDue = false;
            return;
        }
        if (cache.parkedJob) {
            wantedFrame = cache.parkedJob->frame;
        }
    }
    publishScan(decoder.source.scanOn([this] { return scanPaused(); }, wantedFrame));
}

// Hands the blocks the scan settled to the drawing thread. Once the scan is over, a frame waited
// for past the file's end is known never to come; a job waiting for the scan goes to the queue
// once its frame is in a block.
void VideoCache::publishScan(video::ScanProgress progress) {
    const bool complete = decoder.source.listingComplete();
    if (progress == video::ScanProgress::nothingNew && !complete) {
        return;
    }
    bool late = false;
    bool windowCut = false;
    std::vector<video::FrameRef> dropped;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        windowCut = cache.servedJob.block >= 0 &&
                    cache.window.last + 1 >= cache.blockStarts[cache.blockStarts.length() - 1];
        if (progress == video::ScanProgress::renumbered) {
            cache.servedJob = CachingJob{};
            windowCut = false;
            dropped = clearAllBlockImages();
            decoder.failedFrames.clear();
            cache.activeBlocks.clear();
            cache.window = video::FrameWindow{};
        }
        copyBlockStarts();
        decoder.scanning = !complete;
        const MIntArray& starts = cache.blockStarts;
        if (complete && cache.lateWait >= 0 &&
            video::blockOfFrame(starts, starts.length(), cache.lateWait) < 0) {
            late = settlesLateWait(cache.lateWait);
        }
    }
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.scanDue = !complete;
        cache.packetsScanned = decoder.source.packetsScanned();
        if (cache.parkedJob) {
            const MIntArray& starts = cache.blockStarts;
            const bool placed =
                video::blockOfFrame(starts, starts.length(), cache.parkedJob->frame) >= 0;
            if ((placed || complete) && cache.jobs.empty()) {
                cache.jobs.push(*cache.parkedJob);
            }
            if (placed || complete) {
                cache.parkedJob.reset();
            }
        } else if (windowCut && cache.jobs.empty()) {
            cache.jobs.push(cache.servedJob);
        }
    }
    wakePool();
    cache.storeChanged.notify_all();
    dropped.clear();
    if (late) {
        lateWorkDone_();
    }
}

void VideoCache::copyBlockStarts() {
    cache.blockStarts.clear();
    for (int start : decoder.source.blockStarts()) {
        cache.blockStarts.append(start);
    }
    // A stream without keyframes has no block, nor a scan that settled none yet; giving it one
    // empty block at its end keeps every reader of the first block's length in range while no
    // frame lies in any block.
    if (cache.blockStarts.length() == 1) {
        cache.blockStarts.append(cache.blockStarts[0]);
    }
}

bool VideoCache::placeAfterScan(CachingJob& job) {
    // The block is looked up again here rather than trusted from the job: a reload or a new file
    // may have replaced the block list since the job was queued.
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        const MIntArray& starts = cache.blockStarts;
        job.block = video::blockOfFrame(starts, starts.length(), job.frame);
        if (job.block >= 0) {
            job.frameInBlock = job.frame - starts[static_cast<unsigned int>(job.block)];
            cache.servedJob = job;
            return true;
        }
        if (!decoder.scanning) {
            return false;
        }
    }
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    if (cache.jobs.empty()) {
        cache.parkedJob = job;
    }
    return false;
}

bool VideoCache::awaitSettledBlock(CachingJob& job, std::unique_lock<std::mutex>& storeLock,
                                   Deadline deadline) {
    cache.lateWait = -1;
    for (;;) {
        const MIntArray& starts = cache.blockStarts;
        job.block = video::blockOfFrame(starts, starts.length(), job.frame);
        if (job.block >= 0) {
            job.frameInBlock = job.frame - starts[static_cast<unsigned int>(job.block)];
            return true;
        }
        if (!decoder.scanning || job.frame < 0 || !workerRunning()) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            cache.lateWait = job.frame;
            return false;
        }
        ++cache.waitPolls;
        cache.storeChanged.wait_until(storeLock, deadline);
    }
}
