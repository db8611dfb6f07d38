#include "cache/VideoCache.h"
#include "decode/Timecode.h"

#include "cache/BlockRun.h"
#include "cache/CacheBudget.h"
#include "cache/DecoderFootprint.h"
#include "decode/DecoderThreads.h"
#include "picture/CacheImage.h"
#include "picture/RgbaImage.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <mutex>
#include <vector>

namespace {

// The frames of `frameBytes` the budget lets a cache hold now; at least two, as the frame shown
// and the next are always kept.
int framesThatFit(video::BudgetClient& cache, size_t frameBytes) {
    if (frameBytes == 0) {
        return std::numeric_limits<int>::max();
    }
    const size_t frames = video::CacheBudget::instance().roomForFrames(cache) / frameBytes;
    return static_cast<int>(
        std::clamp<size_t>(frames, 2, static_cast<size_t>(std::numeric_limits<int>::max())));
}

}  // namespace

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

void VideoCache::runWork() {
    Work next;
    if (!takeWork(next)) {
        if (decoderIdle()) {
            const std::lock_guard<std::mutex> decoderLock(cache.decoderMutex);
            releaseDecoder();
        }
        return;
    }
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

void VideoCache::stopWorker() {
    {
        // Set under the queue's lock, so that no work is taken after it.
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        decoder.running.store(false);
        // Never lowered again: a file being read is left at its next read.
        decoder.interrupt.store(true);
        cache.jobs = {};
        cache.toOpen.reset();
        cache.scanDue = false;
        cache.parkedJob.reset();
        unfinished_.reset();
    }
    {
        // Likewise for a frame wait, which looks at the flag under the store's lock.
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
    }
    cache.storeChanged.notify_all();
}

// A file comes first, the scan last; of the jobs only the newest is kept: older ones are out of
// date by the time the worker gets to them.
bool VideoCache::takeWork(Work& next) {
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    if (!decoder.running) {
        return false;
    }
    next.open = std::move(cache.toOpen);
    cache.toOpen.reset();
    next.scan = false;
    if (next.open) {
        return true;
    }
    if (cache.jobs.empty()) {
        if (unfinished_) {
            next.job = *unfinished_;
            unfinished_.reset();
            return true;
        }
        next.scan = scanWanted();
        return next.scan;
    }
    // A job waiting for the scan, or left for more urgent work, is out of date as well.
    cache.parkedJob.reset();
    unfinished_.reset();
    while (cache.jobs.size() > 1) {
        cache.jobs.pop();
    }
    next.job = cache.jobs.front();
    cache.jobs.pop();
    return true;
}

std::optional<video::Urgency> VideoCache::nextWork() {
    std::optional<CachingJob> job;
    {
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        if (!decoder.running) {
            return std::nullopt;
        }
        if (cache.toOpen) {
            // The drawing thread waits for the file to know what to show.
            return video::Urgency{video::Urgency::kAwaited, 0};
        }
        if (!cache.jobs.empty()) {
            job = cache.jobs.back();
        } else if (unfinished_) {
            job = *unfinished_;
        } else if (scanWanted()) {
            return scanUrgency();
        }
    }
    if (job) {
        return urgencyOf(*job);
    }
    if (decoderIdle()) {
        return video::Urgency{video::Urgency::kUndrawn, std::numeric_limits<long long>::max()};
    }
    return std::nullopt;
}

bool VideoCache::decoderIdle() const {
    // Long enough that a scene standing still for a moment keeps its decoders. A file still being
    // scanned keeps its decoder: the scan of raw streams decodes.
    constexpr std::chrono::seconds kIdleAfter{30};
    const auto asked = std::chrono::steady_clock::time_point(
        std::chrono::steady_clock::duration(lastAsked_.load()));
    if (released_ || std::chrono::steady_clock::now() - asked < kIdleAfter) {
        return false;
    }
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    return decoder.openState == OpenState::kOpen && !decoder.scanning;
}

void VideoCache::releaseDecoder() {
    if (released_ || !decoder.source.isOpen()) {
        return;
    }
    released_ = true;
    lanes_.clear();
    laneCharge_.reset();
    lanesTried_ = false;
    decoder.blocks.reset();
    decoder.source.releaseDecoder();
    decoderCharge_.reset();
    seat_.reset();
}

bool VideoCache::reopenDecoder() {
    seat_.emplace(pool_);
    bool opened = false;
    {
        const video::DecoderThreadsHere threads(seat_->ffmpegThreads());
        opened = decoder.source.restoreDecoder();
    }
    if (!opened) {
        seat_.reset();
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        decoder.openState = OpenState::kFailed;
        return false;
    }
    chargeDecoder(heldTexelFormat());
    released_ = false;
    return true;
}

video::Urgency VideoCache::scanUrgency() const {
    if (cache.parkedJob) {
        return video::Urgency{video::Urgency::kAwaited, 0};
    }
    return video::Urgency{video::Urgency::kAhead, std::numeric_limits<long long>::max()};
}

video::Urgency VideoCache::urgencyOf(const CachingJob& job) const {
    // Not asked for in the last seconds: the node is not drawn, or the scene stands still.
    constexpr std::chrono::seconds kUndrawnAfter{2};
    const auto asked = std::chrono::steady_clock::time_point(
        std::chrono::steady_clock::duration(lastAsked_.load()));
    const bool undrawn = std::chrono::steady_clock::now() - asked > kUndrawnAfter;
    if (job.block < 0) {
        // Past the blocks the scan settled: a refresh waits for the scan to get there.
        return video::Urgency{video::Urgency::kAwaited, 0};
    }
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    if (!slotStored(job.block, job.frameInBlock) && !listed(decoder.failedFrames, job.frame)) {
        return video::Urgency{video::Urgency::kAwaited, 0};
    }
    // A refresh played on within the window asks no new job, but waits all the same.
    if (cache.shownFrame != job.frame && cache.window.contains(cache.shownFrame) &&
        !listed(decoder.failedFrames, cache.shownFrame)) {
        const int shownBlock =
            video::blockOfFrame(cache.blockStarts, cache.blockStarts.size(), cache.shownFrame);
        if (shownBlock >= 0 &&
            !slotStored(shownBlock, cache.shownFrame -
                                        cache.blockStarts[static_cast<unsigned int>(shownBlock)])) {
            return video::Urgency{video::Urgency::kAwaited, 0};
        }
    }
    // The first frame lacking in the first block of the window, in the worker's order, that still
    // lacks frames: a node whose look-ahead is far along gives way to one whose next frames are
    // missing, even within one long block.
    long long distance = 0;
    for (unsigned int i = 0; i < cache.activeBlocks.size(); ++i) {
        const int lacking = firstLackingFrame(cache.activeBlocks[i]);
        if (lacking >= 0) {
            const long long offset = static_cast<long long>(lacking) - job.frame;
            const int direction = direction_.load();
            // Frames behind the direction of play are wanted later than those ahead.
            const bool behind = (direction > 0 && offset < 0) || (direction < 0 && offset > 0);
            distance = std::llabs(offset) * (behind ? 2 : 1);
            break;
        }
    }
    return video::Urgency{undrawn ? video::Urgency::kUndrawn : video::Urgency::kAhead, distance};
}

bool VideoCache::yields() {
    if (!yielded_ && pool_.outranked(urgencyOf(serving_))) {
        yielded_ = true;
    }
    return yielded_;
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
    seat_.emplace(pool_);
    bool opened = false;
    {
        const video::DecoderThreadsHere threads(seat_->ffmpegThreads());
        opened = decoder.source.start(request.path, video::VideoSource::Listing::indexWhereComplete,
                                      &decoder.interrupt);
    }
    openPath_ = request.path;
    if (!opened) {
        seat_.reset();
    }
    if (decoder.interrupt || openOutdated(request.generation)) {
        // Left half read. A close, another file or a stop set the state themselves; for anything
        // else that needed the decoder meanwhile, the file is read again next.
        decoder.source.close();
        seat_.reset();
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
    return !slotStored(newest.block, newest.frameInBlock);
}

bool VideoCache::slotStored(int block, int slot) const {
    auto found = cache.blocks.find(block);
    return found != cache.blocks.end() && slot >= 0 &&
           static_cast<size_t>(slot) < found->second.size() &&
           found->second[static_cast<size_t>(slot)] != nullptr;
}

bool VideoCache::blockLacksFrames(int block) const {
    return firstLackingFrame(block) >= 0;
}

int VideoCache::firstLackingFrame(int block) const {
    const int start = cache.blockStarts[static_cast<unsigned int>(block)];
    const int end = cache.blockStarts[static_cast<unsigned int>(block) + 1];
    for (int frame = std::max(start, cache.window.first);
         frame < std::min(end, cache.window.last + 1); ++frame) {
        if (!slotStored(block, frame - start) && !listed(decoder.failedFrames, frame)) {
            return frame;
        }
    }
    return -1;
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
    // Under memory pressure the window holds only the frames the budget lets this cache keep:
    // frames beyond would be decoded only to be dropped, and the decoder would then stand past
    // the frames the next step asks for, which would cost a seek back to their keyframe.
    const size_t frameBytes =
        video::cacheImageBytes(decoder.frameWidth, decoder.frameHeight, decoder.resolutionDivisor) *
        decode::bytesPerTexel(heldTexelFormat()) / 4;
    CachingJob planned = job;
    planned.windowFrames = std::min(job.windowFrames, framesThatFit(*this, frameBytes));
    std::vector<video::FrameRef> evicted;
    {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        if (!setActiveBlocks(planned)) {
            return;
        }
        evicted = clearInactiveBlockImages();
    }
    // The window may have left a frame being waited for behind.
    cache.storeChanged.notify_all();
    evicted.clear();
    if (released_ && !reopenDecoder()) {
        return;
    }
    if (!decoder.source.isOpen()) {
        return;
    }
    const std::vector<int>& window = cache.activeBlocks;
    const int lastWindowBlock =
        window.empty() ? -1 : *std::max_element(window.begin(), window.end());
    auto lacksFrames = [this](int block) {
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        return blockLacksFrames(block);
    };
    yielded_ = false;
    serving_ = job;
    for (size_t position = 0; position < window.size() && !yields(); ++position) {
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
    if (yielded_) {
        // Taken up again once the more urgent work is done, unless a newer job replaces it.
        const std::lock_guard<std::mutex> lock(cache.queueMutex);
        if (cache.jobs.empty()) {
            unfinished_ = job;
        }
    }
}

bool VideoCache::setActiveBlocks(const CachingJob& job) {
    cache.activeBlocks.clear();
    cache.wantedFrame = job.frame;
    const video::BlockWindow plan = video::planBlockWindow(
        cache.blockStarts, cache.blockStarts.size(), job.frame, job.block, job.windowFrames);
    cache.window = plan.frames;
    for (int block : plan.blocks) {
        cache.activeBlocks.push_back(block);
    }
    return !plan.blocks.empty();
}

std::vector<video::FrameRef> VideoCache::clearInactiveBlockImages() {
    std::vector<video::FrameRef> evicted;
    std::vector<int> keptFailures;
    for (unsigned int i = 0; i < decoder.failedFrames.size(); ++i) {
        if (cache.window.contains(decoder.failedFrames[i])) {
            keptFailures.push_back(decoder.failedFrames[i]);
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
                dropped.push_back(std::move(slot));
            }
        }
    }
    cache.blocks.clear();
    return dropped;
}
