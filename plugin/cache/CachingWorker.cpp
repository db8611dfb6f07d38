#include "cache/WindowOrder.h"
#include "draw/CineSheetDrawOverride.h"

#include <maya/MThreadAsync.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kIdlePoll(50);

// Keeps only the newest request: older ones are out of date by the time the worker gets to them.
bool takeNewestJob(FrameCache& cache, CachingJob& job) {
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    if (cache.jobs.empty()) {
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

// Frames in the blocks of the window: all the store may have to hold at once.
size_t windowFrameCount(const FrameCache& cache) {
    const int blockCount = static_cast<int>(cache.blockStarts.length()) - 1;
    size_t frames = 0;
    for (unsigned int i = 0; i < cache.activeBlocks.length(); ++i) {
        const int block = cache.activeBlocks[i];
        if (block >= 0 && block < blockCount) {
            const int count = cache.blockStarts[static_cast<unsigned int>(block) + 1] -
                              cache.blockStarts[static_cast<unsigned int>(block)];
            frames += static_cast<size_t>(std::max(count, 0));
        }
    }
    return frames;
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
    if (!data->decoder->source.isOpen()) {
        return;
    }
    for (int position : video::windowVisitingOrder(static_cast<int>(cache.activeBlocks.length()))) {
        if (jobWaiting(cache) || !data->decoder->running || data->decoder->interrupt) {
            return;
        }
        const std::lock_guard<std::mutex> blockLock(cache.blockMutex);
        const int block = cache.activeBlocks[static_cast<unsigned int>(position)];
        if (block >= 0 && cache.blocks.count(block) == 0) {
            CineSheetDrawOverride::decodeBlock(data, block);
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
    while (threadData->decoder->running) {
        std::this_thread::sleep_for(kIdlePoll);
        CachingJob job;
        if (threadData->decoder->running && takeNewestJob(*threadData->cache, job)) {
            serveJob(threadData, job);
        }
    }
    return nullptr;
}

void CineSheetDrawOverride::blockCachingFinished(void* data) {
    threadIsRunning.store(false);
    // Last touch of the override's state: its destructor may free it as soon as this is seen.
    static_cast<ThreadData*>(data)->finished.store(true);
}

bool CineSheetDrawOverride::addBlockCachingJob(int frame, int blockRadius, CachingJob& job) {
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
    job.blockRadius = blockRadius;
    job.block = low;
    job.frameInBlock = frame - starts[low];

    const int previousBlock = cache.lastQueuedBlock;
    cache.lastQueuedBlock = job.block;
    if (previousBlock == job.block) {
        // The worker is already serving this block's window.
        return true;
    }
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    cache.jobs.push(job);
    return true;
}

bool CineSheetDrawOverride::setActiveBlocks(ThreadData* data, CachingJob& job) {
    FrameCache& cache = *data->cache;
    cache.activeBlocks.clear();
    if (job.block < 0) {
        return false;
    }
    const long long blockCount = static_cast<long long>(cache.blockStarts.length()) - 1;
    const long long first = static_cast<long long>(job.block) - job.blockRadius;
    const long long last = static_cast<long long>(job.block) + job.blockRadius;
    for (long long position = first; position <= last; ++position) {
        const bool isBlock = position >= 0 && position < blockCount;
        cache.activeBlocks.append(isBlock ? static_cast<int>(position) : -1);
    }
    return true;
}

void CineSheetDrawOverride::clearInactiveBlockImages(ThreadData* data) {
    FrameCache& cache = *data->cache;
    MIntArray keptFailures;
    for (unsigned int i = 0; i < data->decoder->failedFrames.length(); ++i) {
        const int frame = data->decoder->failedFrames[i];
        const int block = blockOfFrame(cache.blockStarts, frame);
        if (block >= 0 && inWindow(cache.activeBlocks, block)) {
            keptFailures.append(frame);
        }
    }
    data->decoder->failedFrames = keptFailures;
    cache.frameBuffers.setLimit(windowFrameCount(cache));
    for (auto entry = cache.blocks.begin(); entry != cache.blocks.end();) {
        if (inWindow(cache.activeBlocks, entry->first)) {
            ++entry;
        } else {
            for (unsigned char* slot : entry->second) {
                cache.frameBuffers.release(slot);
            }
            entry = cache.blocks.erase(entry);
        }
    }
}

void CineSheetDrawOverride::clearAllBlockImages(
    std::map<int, std::vector<unsigned char*>>& blocks) {
    for (auto& entry : blocks) {
        freeSlots(entry.second);
    }
    blocks.clear();
}
