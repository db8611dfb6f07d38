#include "cache/BlockRun.h"
#include "draw/CineSheetDrawOverride.h"

#include <maya/MThreadAsync.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <mutex>

namespace {

// Sleeps until a job is queued or the worker is to stop (false). Keeps only the newest request:
// older ones are out of date by the time the worker gets to them. Waking on the queue rather
// than looking at it now and then changes only how soon a job is taken.
bool awaitNewestJob(FrameCache& cache, const DecoderState& decoder, CachingJob& job) {
    std::unique_lock<std::mutex> lock(cache.queueMutex);
    cache.jobQueued.wait(lock, [&] { return !decoder.running || !cache.jobs.empty(); });
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

bool jobWaiting(FrameCache& cache) {
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    return !cache.jobs.empty();
}

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

bool inWindow(const MIntArray& window, int block) {
    for (unsigned int i = 0; i < window.length(); ++i) {
        if (window[i] == block) {
            return true;
        }
    }
    return false;
}

bool contains(const MIntArray& values, int value) {
    for (unsigned int i = 0; i < values.length(); ++i) {
        if (values[i] == value) {
            return true;
        }
    }
    return false;
}

// Whether a frame of the window in this block is neither stored nor known to be undecodable.
bool blockLacksFrames(const ThreadData& data, int block) {
    const FrameCache& cache = *data.cache;
    const int start = cache.blockStarts[static_cast<unsigned int>(block)];
    const int end = cache.blockStarts[static_cast<unsigned int>(block) + 1];
    auto found = cache.blocks.find(block);
    for (int frame = std::max(start, cache.window.first);
         frame < std::min(end, cache.window.last + 1); ++frame) {
        const size_t slot = static_cast<size_t>(frame - start);
        const bool stored = found != cache.blocks.end() && slot < found->second.size() &&
                            found->second[slot] != nullptr;
        if (!stored && !contains(data.decoder->failedFrames, frame)) {
            return true;
        }
    }
    return false;
}

// One pass: set the window, evict what left it, then decode the missing blocks nearest first.
// The pass ends early, at a block boundary, for a newer job or when the worker is to stop.
void serveJob(ThreadData* data, CachingJob& job) {
    FrameCache& cache = *data->cache;
    const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        if (!CineSheetDrawOverride::setActiveBlocks(data, job)) {
            return;
        }
        CineSheetDrawOverride::clearInactiveBlockImages(data);
    }
    // The window may have left a frame being waited for behind.
    cache.storeChanged.notify_all();
    if (!data->decoder->source.isOpen()) {
        return;
    }
    const MIntArray& window = cache.activeBlocks;
    int lastWindowBlock = -1;
    for (unsigned int i = 0; i < window.length(); ++i) {
        lastWindowBlock = std::max(lastWindowBlock, window[i]);
    }
    auto lacksFrames = [data](int block) {
        const std::lock_guard<std::mutex> storeLock(data->cache->storeMutex);
        return blockLacksFrames(*data, block);
    };
    for (unsigned int position = 0; position < window.length(); ++position) {
        if (jobWaiting(cache) || !data->decoder->running || data->decoder->interrupt) {
            return;
        }
        const std::lock_guard<std::mutex> blockLock(cache.blockMutex);
        const int block = window[position];
        if (lacksFrames(block)) {
            // The following blocks that lack frames come in the same pass, read on without a
            // seek, up to the window's end: playing forward then seeks once per pass.
            CineSheetDrawOverride::decodeBlocks(data, block,
                                                video::runEnd(block, lastWindowBlock, lacksFrames));
        }
    }
}

}  // namespace

bool CineSheetDrawOverride::startBlockCachingThreaded() {
    if (!MThreadAsync::init()) {
        return false;
    }
    threadData = new ThreadData;
    threadData->decoder = &decoder;
    threadData->cache = &cache;
    if (!MThreadAsync::createTask(blockCachingWorker, threadData, blockCachingFinished, nullptr)) {
        // No worker will ever run, so none has to be waited for.
        threadData->finished.store(true);
        return false;
    }
    return true;
}

void* CineSheetDrawOverride::blockCachingWorker(void* data) {
    auto* threadData = static_cast<ThreadData*>(data);
    threadIsRunning.store(true);
    FrameCache& cache = *threadData->cache;
    CachingJob job;
    while (awaitNewestJob(cache, *threadData->decoder, job)) {
        serveJob(threadData, job);
        // A pass that ended without the frame waited for lets the wait give up or ask again.
        cache.storeChanged.notify_all();
    }
    return nullptr;
}

void CineSheetDrawOverride::stopWorker() {
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

void CineSheetDrawOverride::blockCachingFinished(void* data) {
    threadIsRunning.store(false);
    // Last touch of the override's state: its destructor may free it as soon as this is seen.
    static_cast<ThreadData*>(data)->finished.store(true);
}

bool CineSheetDrawOverride::addBlockCachingJob(int frame, int windowFrames, CachingJob& job) {
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

bool CineSheetDrawOverride::setActiveBlocks(ThreadData* data, CachingJob& job) {
    FrameCache& cache = *data->cache;
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

void CineSheetDrawOverride::clearInactiveBlockImages(ThreadData* data) {
    FrameCache& cache = *data->cache;
    MIntArray keptFailures;
    for (unsigned int i = 0; i < data->decoder->failedFrames.length(); ++i) {
        if (cache.window.contains(data->decoder->failedFrames[i])) {
            keptFailures.append(data->decoder->failedFrames[i]);
        }
    }
    data->decoder->failedFrames = keptFailures;
    cache.frameBuffers.setLimit(static_cast<size_t>(cache.window.length()));
    for (auto entry = cache.blocks.begin(); entry != cache.blocks.end();) {
        const bool kept = inWindow(cache.activeBlocks, entry->first);
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

void CineSheetDrawOverride::clearAllBlockImages(
    std::map<int, std::vector<unsigned char*>>& blocks) {
    for (auto& entry : blocks) {
        freeSlots(entry.second);
    }
    blocks.clear();
}
