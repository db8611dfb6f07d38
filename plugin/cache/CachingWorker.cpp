#include "cache/VideoCache.h"
#include "decode/Timecode.h"

#include "cache/BlockRun.h"
#include "cache/CacheBudget.h"
#include "cache/DecoderFootprint.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <mutex>

void VideoCache::startWorker() {
    worker_.start(1, [this] { work(); });
}

void VideoCache::work() {
    Work next;
    while (awaitWork(next)) {
        if (next.open) {
            openOnWorker(*next.open);
        } else if (next.scan) {
            scanOnWorker();
        } else {
            serveJob(next.job);
        }
        // A pass that ended without the frame waited for lets the wait give up or ask again.
        cache.storeChanged.notify_all();
    }
}

void VideoCache::stopWorker() {
    {
        // Set under the queue's lock, so that the worker cannot miss it between looking at the
        // flag and going to sleep.
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        decoder.running.store(false);
        // Never lowered again: a file being read is left at its next read.
        decoder.interrupt.store(true);
    }
    cache.jobQueued.notify_all();
    {
        // Likewise for a frame wait, which looks at the flag under the store's lock.
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
    }
    cache.storeChanged.notify_all();
}

// Sleeps until a file or a job is asked for, the scan has more to read, or the worker is to stop
// (false). A file comes first, the scan last; of the jobs only the newest is kept: older ones are
// out of date by the time the worker gets to them.
bool VideoCache::awaitWork(Work& next) {
    std::unique_lock<std::mutex> lock(cache.queueMutex);
    cache.jobQueued.wait(lock, [this] {
        return !decoder.running || cache.toOpen || !cache.jobs.empty() || scanWanted();
    });
    if (!decoder.running) {
        return false;
    }
    next.open = std::move(cache.toOpen);
    cache.toOpen.reset();
    next.scan = cache.jobs.empty();
    if (next.open || next.scan) {
        return true;
    }
    // A job waiting for the scan is out of date as well.
    cache.parkedJob.reset();
    while (cache.jobs.size() > 1) {
        cache.jobs.pop();
    }
    next.job = cache.jobs.front();
    cache.jobs.pop();
    return true;
}

bool VideoCache::openOutdated(long generation) {
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    return generation != cache.openGeneration || !decoder.running;
}

// Reads the whole file (its packet scan) with only decoderMutex held, so that frame waits and
// the budget go on meanwhile; another file, a close or a stop ends the read at once.
void VideoCache::openOnWorker(const OpenRequest& request) {
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    if (openOutdated(request.generation)) {
        return;
    }
    const bool opened = decoder.source.start(
        request.path, video::VideoSource::Listing::indexWhereComplete, &decoder.interrupt);
    if (decoder.interrupt || openOutdated(request.generation)) {
        // Left half read. A close, another file or a stop set the state themselves; for anything
        // else that needed the decoder meanwhile, the file is read again next.
        decoder.source.close();
        {
            const std::lock_guard<std::mutex> lock(cache.queueMutex);
            if (decoder.running && request.generation == cache.openGeneration && !cache.toOpen) {
                cache.toOpen = request;
            }
        }
        return;
    }
    if (opened) {
        chargeDecoder(decode::videoTexelFormat(decoder.depth, decoder.source.decoder()->pix_fmt));
    }
    bool late = false;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        decoder.openState = opened ? OpenState::kOpen : OpenState::kFailed;
        openFailure_ = decoder.source.failure();
        if (opened) {
            decoder.streamIndex = decoder.source.streamIndex();
            // The cache holds the pictures turned upright.
            decoder.frameWidth = decoder.source.uprightWidth();
            decoder.frameHeight = decoder.source.uprightHeight();
            decoder.pixelAspect = decoder.source.uprightPixelAspect();
            decoder.pictureFormat = decoder.source.decoder()->pix_fmt;
            decoder.framesDeclared = decoder.source.framesDeclared();
            decoder.videoFrameRate = decoder.source.averageFrameRate();
            decoder.startTimecode =
                decoder.source.input() != nullptr
                    ? decode::startTimecode(*decoder.source.input(), decoder.streamIndex)
                    : std::string();
            copyBlockStarts();
            decoder.scanning = !decoder.source.listingComplete();
        }
        late = cache.lateWait == FrameCache::kFileAwaited;
        if (late) {
            cache.lateWait = -1;
        }
    }
    if (opened && !decoder.source.listingComplete()) {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        cache.scanDue = true;
    }
    cache.storeChanged.notify_all();
    if (late) {
        lateWorkDone_();
    }
}

bool VideoCache::jobWaiting() {
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    return !cache.jobs.empty();
}

bool VideoCache::newerJobWaitsElsewhere(int first, int last) {
    CachingJob newest;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        if (cache.jobs.empty()) {
            return false;
        }
        newest = cache.jobs.back();
    }
    if (newest.frame >= first && newest.frame <= last) {
        return false;
    }
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    auto found = cache.blocks.find(newest.block);
    const size_t slot = static_cast<size_t>(newest.frameInBlock);
    return found == cache.blocks.end() || slot >= found->second.size() ||
           found->second[slot] == nullptr;
}

// Whether a frame of the window in this block is neither stored nor known to be undecodable.
bool VideoCache::blockLacksFrames(int block) const {
    const int start = cache.blockStarts[static_cast<unsigned int>(block)];
    const int end = cache.blockStarts[static_cast<unsigned int>(block) + 1];
    auto found = cache.blocks.find(block);
    for (int frame = std::max(start, cache.window.first);
         frame < std::min(end, cache.window.last + 1); ++frame) {
        const size_t slot = static_cast<size_t>(frame - start);
        const bool stored = found != cache.blocks.end() && slot < found->second.size() &&
                            found->second[slot] != nullptr;
        if (!stored && !listed(decoder.failedFrames, frame)) {
            return true;
        }
    }
    return false;
}

// One pass: set the window, evict what left it, then decode the missing blocks nearest first.
// A newer job ends the pass at the next block boundary, or at once when it waits for a frame
// outside the run of blocks being decoded; a stop ends it at once.
void VideoCache::serveJob(const CachingJob& asked) {
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    CachingJob job = asked;
    if (!placeAfterScan(job)) {
        return;
    }
    std::vector<video::FrameRef> evicted;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        if (!setActiveBlocks(job)) {
            return;
        }
        evicted = clearInactiveBlockImages();
    }
    // The window may have left a frame being waited for behind.
    cache.storeChanged.notify_all();
    evicted.clear();
    if (!decoder.source.isOpen()) {
        return;
    }
    const MIntArray& window = cache.activeBlocks;
    int lastWindowBlock = -1;
    for (unsigned int i = 0; i < window.length(); ++i) {
        lastWindowBlock = std::max(lastWindowBlock, window[i]);
    }
    auto lacksFrames = [this](int block) {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        return blockLacksFrames(block);
    };
    for (unsigned int position = 0; position < window.length(); ++position) {
        if (jobWaiting() || !decoder.running || decoder.interrupt) {
            return;
        }
        const int block = window[position];
        if (lacksFrames(block)) {
            // The following blocks that lack frames come in the same pass, read on without a
            // seek, up to the window's end: playing forward then seeks once per pass.
            decodeBlocks(block, video::runEnd(block, lastWindowBlock, lacksFrames));
        }
    }
}

bool VideoCache::setActiveBlocks(const CachingJob& job) {
    cache.activeBlocks.clear();
    cache.wantedFrame = job.frame;
    const video::BlockWindow plan = video::planBlockWindow(
        cache.blockStarts, cache.blockStarts.length(), job.frame, job.block, job.windowFrames);
    cache.window = plan.frames;
    for (int block : plan.blocks) {
        cache.activeBlocks.append(block);
    }
    return !plan.blocks.empty();
}

std::vector<video::FrameRef> VideoCache::clearInactiveBlockImages() {
    std::vector<video::FrameRef> evicted;
    MIntArray keptFailures;
    for (unsigned int i = 0; i < decoder.failedFrames.length(); ++i) {
        if (cache.window.contains(decoder.failedFrames[i])) {
            keptFailures.append(decoder.failedFrames[i]);
        }
    }
    decoder.failedFrames = keptFailures;
    cache.frameBuffers->setLimit(static_cast<size_t>(cache.window.length()));
    for (auto entry = cache.blocks.begin(); entry != cache.blocks.end();) {
        const bool kept = listed(cache.activeBlocks, entry->first);
        const int start = cache.blockStarts[static_cast<unsigned int>(entry->first)];
        for (size_t slot = 0; slot < entry->second.size(); ++slot) {
            if (!kept || !cache.window.contains(start + static_cast<int>(slot))) {
                if (entry->second[slot]) {
                    evicted.push_back(std::move(entry->second[slot]));
                }
            }
        }
        entry = kept ? std::next(entry) : cache.blocks.erase(entry);
    }
    return evicted;
}

std::vector<video::FrameRef> VideoCache::clearAllBlockImages() {
    std::vector<video::FrameRef> dropped;
    for (auto& entry : cache.blocks) {
        for (video::FrameRef& slot : entry.second) {
            if (slot) {
                slot->discard();
                dropped.push_back(std::move(slot));
            }
        }
    }
    cache.blocks.clear();
    return dropped;
}
