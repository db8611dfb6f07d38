#include "cache/VideoCache.h"

#include "cache/BlockRun.h"

#include <maya/MThreadAsync.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <mutex>

namespace {

void freeSlots(std::vector<unsigned char*>& slots) {
    for (unsigned char*& slot : slots) {
        std::free(slot);
        slot = nullptr;
    }
}

// The block holding the frame, -1 for none.
int blockOfFrame(const MIntArray& starts, int frame) {
    int block = -1;
    for (unsigned int i = 0; i + 1 < starts.length() && starts[i] <= frame; ++i) {
        if (frame < starts[i + 1]) {
            block = static_cast<int>(i);
        }
    }
    return block;
}

}  // namespace

bool VideoCache::startBlockCachingThreaded() {
    if (!MThreadAsync::init()) {
        return false;
    }
    auto data = std::make_unique<ThreadData>();
    data->owner = this;
    if (!MThreadAsync::createTask(blockCachingWorker, data.get(), blockCachingFinished, nullptr)) {
        MThreadAsync::release();
        return false;
    }
    threadData_ = std::move(data);
    return true;
}

void* VideoCache::blockCachingWorker(void* data) {
    threadIsRunning.store(true);
    VideoCache& owner = *static_cast<ThreadData*>(data)->owner;
    CachingJob job;
    while (owner.awaitNewestJob(job)) {
        owner.serveJob(job);
        // A pass that ended without the frame waited for lets the wait give up or ask again.
        owner.cache.storeChanged.notify_all();
    }
    return nullptr;
}

void VideoCache::blockCachingFinished(void* data) {
    threadIsRunning.store(false);
    auto& threadData = *static_cast<ThreadData*>(data);
    // Last touch of the cache's state: the destructor may free it as soon as this is seen. The
    // wake goes out under the lock, so that the waiter cannot free the lock before it is sent.
    const std::lock_guard<std::mutex> lock(threadData.endMutex);
    threadData.finished.store(true);
    threadData.ended.notify_all();
}

void VideoCache::stopWorker() {
    {
        // Set under the queue's lock, so that the worker cannot miss it between looking at the
        // flag and going to sleep.
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        decoder.running.store(false);
    }
    cache.jobQueued.notify_all();
    {
        // Likewise for a frame wait, which looks at the flag under the store's lock.
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
    }
    cache.storeChanged.notify_all();
}

void VideoCache::waitForWorkerEnd() {
    // A stopped worker ends at its next decoded picture; until then it still uses this cache.
    std::unique_lock<std::mutex> lock(threadData_->endMutex);
    threadData_->ended.wait(lock, [this] { return threadData_->finished.load(); });
}

// Sleeps until a job is queued or the worker is to stop (false). Keeps only the newest request:
// older ones are out of date by the time the worker gets to them. Waking on the queue rather
// than looking at it now and then changes only how soon a job is taken.
bool VideoCache::awaitNewestJob(CachingJob& job) {
    std::unique_lock<std::mutex> lock(cache.queueMutex);
    cache.jobQueued.wait(lock, [this] { return !decoder.running || !cache.jobs.empty(); });
    if (!decoder.running) {
        return false;
    }
    while (cache.jobs.size() > 1) {
        cache.jobs.pop();
    }
    job = cache.jobs.front();
    cache.jobs.pop();
    return true;
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
void VideoCache::serveJob(const CachingJob& job) {
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        if (!setActiveBlocks(job)) {
            return;
        }
        clearInactiveBlockImages();
    }
    // The window may have left a frame being waited for behind.
    cache.storeChanged.notify_all();
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
    cache.window = video::FrameWindow{};
    cache.wantedFrame = job.frame;
    const int blockCount = static_cast<int>(cache.blockStarts.length()) - 1;
    if (job.block < 0 || job.block >= blockCount) {
        return false;
    }
    cache.window =
        video::frameWindowAround(job.frame, job.windowFrames, cache.blockStarts[0],
                                 cache.blockStarts[static_cast<unsigned int>(blockCount)]);
    // Blocks the window cuts are left out, so that each block is decoded once, whole; only the
    // wanted block may be cut, when it is longer than the window.
    const MIntArray& starts = cache.blockStarts;
    int firstBlock = blockOfFrame(starts, cache.window.first);
    if (firstBlock != job.block &&
        starts[static_cast<unsigned int>(firstBlock)] < cache.window.first) {
        ++firstBlock;
        cache.window.first = starts[static_cast<unsigned int>(firstBlock)];
    }
    int lastBlock = blockOfFrame(starts, cache.window.last);
    if (lastBlock != job.block &&
        starts[static_cast<unsigned int>(lastBlock) + 1] - 1 > cache.window.last) {
        --lastBlock;
        cache.window.last = starts[static_cast<unsigned int>(lastBlock) + 1] - 1;
    }
    for (int block : video::blockVisitingOrder(firstBlock, lastBlock, job.block)) {
        cache.activeBlocks.append(block);
    }
    return true;
}

void VideoCache::clearInactiveBlockImages() {
    MIntArray keptFailures;
    for (unsigned int i = 0; i < decoder.failedFrames.length(); ++i) {
        if (cache.window.contains(decoder.failedFrames[i])) {
            keptFailures.append(decoder.failedFrames[i]);
        }
    }
    decoder.failedFrames = keptFailures;
    cache.frameBuffers.setLimit(static_cast<size_t>(cache.window.length()));
    for (auto entry = cache.blocks.begin(); entry != cache.blocks.end();) {
        const bool kept = listed(cache.activeBlocks, entry->first);
        const int start = cache.blockStarts[static_cast<unsigned int>(entry->first)];
        for (size_t slot = 0; slot < entry->second.size(); ++slot) {
            if (!kept || !cache.window.contains(start + static_cast<int>(slot))) {
                cache.frameBuffers.release(entry->second[slot]);
                entry->second[slot] = nullptr;
            }
        }
        entry = kept ? std::next(entry) : cache.blocks.erase(entry);
    }
}

void VideoCache::clearAllBlockImages(std::map<int, std::vector<unsigned char*>>& blocks) {
    for (auto& entry : blocks) {
        freeSlots(entry.second);
    }
    blocks.clear();
}
