#include "cache/CachingWorker.h"

#include "cache/BlockRun.h"
#include "cache/CacheBudget.h"
#include "picture/CacheImage.h"
#include "picture/RgbaImage.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <utility>

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

std::chrono::steady_clock::duration sinceAsked(
    const std::atomic<std::chrono::steady_clock::rep>& asked) {
    return std::chrono::steady_clock::now() -
           std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(asked.load()));
}

}  // namespace

CachingWorker::CachingWorker(OpenVideo& video, FrameStore& store, CacheJobQueue& queue,
                             PacketScan& scan, video::DecodingPool& pool,
                             video::BudgetClient& cache, const std::function<void()>& lateWorkDone)
    : video_(video),
      store_(store),
      queue_(queue),
      scan_(scan),
      pool_(pool),
      cache_(cache),
      lateWorkDone_(lateWorkDone) {}

void CachingWorker::noteAsked() {
    lastAsked_ = std::chrono::steady_clock::now().time_since_epoch().count();
}

// A file comes first, the scan last.
void CachingWorker::runWork() {
    CacheJobQueue::Work next;
    if (!queue_.take(next)) {
        if (decoderIdle()) {
            const std::unique_lock<std::mutex> lock = video_.lock();
            video_.release();
        }
        return;
    }
    if (next.open) {
        open(*next.open);
    } else if (next.scan) {
        if (scan_.run()) {
            lateWorkDone_();
        }
    } else {
        serveJob(next.job);
    }
    // A pass that ended without the frame waited for lets the wait give up or ask again.
    store_.notifyAll();
}

std::optional<video::Urgency> CachingWorker::nextWork() {
    const CacheJobQueue::Waiting waiting = queue_.waiting();
    switch (waiting.kind) {
        case CacheJobQueue::Waiting::kOpen:
            // The drawing thread waits for the file to know what to show.
            return video::Urgency{video::Urgency::kAwaited, 0};
        case CacheJobQueue::Waiting::kJob:
            return urgencyOf(waiting.job);
        case CacheJobQueue::Waiting::kScan:
            return waiting.scan;
        case CacheJobQueue::Waiting::kNothing:
            break;
    }
    if (queue_.running() && decoderIdle()) {
        return video::Urgency{video::Urgency::kUndrawn, std::numeric_limits<long long>::max()};
    }
    return std::nullopt;
}

bool CachingWorker::decoderIdle() const {
    // Long enough that a scene standing still for a moment keeps its decoders. A file still being
    // scanned keeps its decoder: the scan of raw streams decodes.
    constexpr std::chrono::seconds kIdleAfter{30};
    if (video_.released() || sinceAsked(lastAsked_) < kIdleAfter) {
        return false;
    }
    return store_.openAndListed();
}

video::Urgency CachingWorker::urgencyOf(const CachingJob& job) const {
    // Not asked for in the last seconds: the node is not drawn, or the scene stands still.
    constexpr std::chrono::seconds kUndrawnAfter{2};
    const bool undrawn = sinceAsked(lastAsked_) > kUndrawnAfter;
    if (job.block < 0) {
        // Past the blocks the scan settled: a refresh waits for the scan to get there.
        return video::Urgency{video::Urgency::kAwaited, 0};
    }
    const FrameStore::Lack lack = store_.lackFor(job);
    if (lack.awaited) {
        return video::Urgency{video::Urgency::kAwaited, 0};
    }
    // The first frame lacking in the window: a node whose look-ahead is far along gives way to
    // one whose next frames are missing, even within one long block.
    long long distance = 0;
    if (lack.firstLacking >= 0) {
        const long long offset = static_cast<long long>(lack.firstLacking) - job.frame;
        const int direction = direction_.load();
        // Frames behind the direction of play are wanted later than those ahead.
        const bool behind = (direction > 0 && offset < 0) || (direction < 0 && offset > 0);
        distance = std::llabs(offset) * (behind ? 2 : 1);
    }
    return video::Urgency{undrawn ? video::Urgency::kUndrawn : video::Urgency::kAhead, distance};
}

bool CachingWorker::yields() {
    if (!yielded_ && pool_.outranked(urgencyOf(serving_))) {
        yielded_ = true;
    }
    return yielded_;
}

// Reads the whole file (its packet scan) holding only the open video's lock, so that frame waits
// and the budget go on meanwhile; another file, a close or a stop ends the read at once.
void CachingWorker::open(const OpenRequest& request) {
    const std::unique_lock<std::mutex> lock = video_.lock();
    if (queue_.outdated(request.generation)) {
        return;
    }
    const bool opened = video_.start(request.path);
    if (video_.interrupted() || queue_.outdated(request.generation)) {
        // Left half read. A close, another file or a stop set the state themselves; for anything
        // else that needed the decoder meanwhile, the file is read again next.
        video_.abandon();
        queue_.retryOpen(request);
        return;
    }
    const video::VideoSource& source = video_.source();
    if (opened) {
        video_.charge(store_.texelFormatOf(source.decoder()->pix_fmt));
    }
    const bool late = store_.publishOpen(source, opened);
    if (opened && !source.listingComplete()) {
        queue_.scanFromNowOn();
    }
    if (late) {
        lateWorkDone_();
    }
}

bool CachingWorker::newerJobWaitsElsewhere(int first, int last) {
    const std::optional<CachingJob> newest = queue_.newestJob();
    if (!newest || (newest->frame >= first && newest->frame <= last)) {
        return false;
    }
    return !store_.holds(newest->block, newest->frameInBlock);
}

// One pass: set the window, evict what left it, then decode the missing blocks nearest first.
// A newer job ends the pass at the next block boundary, or at once when it waits for a frame
// outside the run of blocks being decoded; a stop ends it at once.
void CachingWorker::serveJob(const CachingJob& asked) {
    const std::unique_lock<std::mutex> lock = video_.lock();
    CachingJob job = asked;
    if (!scan_.place(job)) {
        return;
    }
    // Under memory pressure the window holds only the frames the budget lets this cache keep:
    // frames beyond would be decoded only to be dropped, and the decoder would then stand past
    // the frames the next step asks for, which would cost a seek back to their keyframe.
    const VideoFacts facts = store_.facts();
    const size_t frameBytes =
        video::cacheImageBytes(facts.frameWidth, facts.frameHeight, store_.resolutionDivisor()) *
        decode::bytesPerTexel(store_.texelFormat()) / 4;
    CachingJob planned = job;
    planned.windowFrames = std::min(job.windowFrames, framesThatFit(cache_, frameBytes));
    std::vector<int> window;
    {
        FrameStore::Frames evicted;
        if (!store_.setWindow(planned, window, evicted)) {
            return;
        }
    }
    if (video_.released() && !video_.reopen(store_.texelFormat())) {
        store_.markFailed();
        return;
    }
    if (!video_.source().isOpen()) {
        return;
    }
    const int lastWindowBlock =
        window.empty() ? -1 : *std::max_element(window.begin(), window.end());
    auto lacksFrames = [this](int block) { return store_.lacksFrames(block); };
    yielded_ = false;
    serving_ = job;
    for (size_t position = 0; position < window.size() && !yields(); ++position) {
        if (queue_.jobWaiting() || halted()) {
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
        queue_.leaveUnfinished(job);
    }
}

void CachingWorker::decodeBlocks(int firstBlock, int lastBlock) {
    // Only a pass changes the blocks, and this one holds the open video's lock.
    const std::vector<int> starts = store_.blockStarts();
    if (firstBlock < 0 || lastBlock < firstBlock ||
        lastBlock + 1 >= static_cast<int>(starts.size())) {
        return;
    }
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
    if (endFrame <= firstFrame) {
        return;
    }
    // The frames of the window these blocks still lack; the others are decoded only on the way.
    const std::vector<bool> wanted = store_.startRun(firstBlock, lastBlock, firstFrame);
    const decode::TexelFormat format = store_.texelFormat();
    bool stopped = false;
    if (video_.laneDecoders(format).size() > 1) {
        decodeBlocksApart(starts, firstBlock, lastBlock, wanted, stopped);
    } else {
        // Checked at every picture, so that a long run never holds up a stop or another file. A
        // newer request that waits for a frame the run does not bring (a scrub) ends it at once;
        // one for a frame already stored elsewhere ends it where the next block begins. More
        // urgent work of another cache ends it at once too, as does a window the budget narrowed
        // past every frame the run still lacks: the decoder carries on from there next time.
        video::RunYield yield(firstBlock, firstFrame, endFrame);
        auto stopRequested = [&](int block) {
            stopped = stopped || halted() || newerJobWaitsElsewhere(firstFrame, endFrame - 1) ||
                      yield.stopsAt(block, [this] { return queue_.newestJobFrame(); }) ||
                      yields() || !store_.lacksWindowFrames(firstBlock, lastBlock, wanted);
            return stopped;
        };
        video_.blocks().decodeBlocks(
            firstBlock, lastBlock,
            [this, &starts](int block, int slot, const video::CachePicture& picture) {
                storePicture(starts, block, slot, picture);
            },
            stopRequested,
            [&wanted, &starts, firstFrame](int block, int slot) {
                return wanted[static_cast<size_t>(starts[static_cast<unsigned int>(block)] + slot -
                                                  firstFrame)];
            });
    }
    int endedAt = -1;
    for (const video::BlockDecoder* blocks : video_.laneDecoders(format)) {
        const int at = blocks->endedEarlyAt();
        if (at >= 0 && (endedAt < 0 || at < endedAt)) {
            endedAt = at;
        }
    }
    if (endedAt >= 0) {
        store_.noteEndedEarly(endedAt);
    }
    // What the blocks did not deliver is settled: a frame waited for may never come.
    if (store_.settleRun(firstBlock, lastBlock, wanted, !stopped && !halted())) {
        lateWorkDone_();
    }
}

void CachingWorker::decodeBlocksApart(const std::vector<int>& starts, int firstBlock, int lastBlock,
                                      const std::vector<bool>& wanted, bool& stopped) {
    // Short runs, so that the frames come out nearly in order, each run costing one seek.
    constexpr int kRunBlocks = 4;
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
    std::atomic<int> nextRun{firstBlock};
    std::atomic<bool> stop{false};
    auto stopRequested = [&] {
        if (!stop && (halted() || newerJobWaitsElsewhere(firstFrame, endFrame - 1))) {
            stop = true;
        }
        return stop.load();
    };
    // Between runs, as between the blocks of one run: a request for a frame elsewhere, or more
    // urgent work of another cache, ends the pass.
    auto runMayBegin = [&] {
        const int waiting = queue_.newestJobFrame();
        if (waiting >= 0 && (waiting < firstFrame || waiting >= endFrame)) {
            stop = true;
        }
        return !stopRequested() && !(nextRun > firstBlock && yields());
    };
    auto sink = [this, &starts](int block, int slot, const video::CachePicture& picture) {
        storePicture(starts, block, slot, picture);
    };
    auto wantedSlot = [&wanted, &starts, firstFrame](int block, int slot) {
        return wanted[static_cast<size_t>(starts[static_cast<unsigned int>(block)] + slot -
                                          firstFrame)];
    };
    std::vector<std::function<void()>> lanes;
    for (video::BlockDecoder* blocks : video_.laneDecoders(store_.texelFormat())) {
        lanes.emplace_back([&, blocks] {
            while (runMayBegin()) {
                const int first = nextRun.fetch_add(kRunBlocks);
                if (first > lastBlock) {
                    return;
                }
                blocks->decodeBlocks(
                    first, std::min(lastBlock, first + kRunBlocks - 1), sink,
                    [&stopRequested](int) { return stopRequested(); }, wantedSlot);
            }
        });
    }
    pool_.runTogether(lanes);
    stopped = stop || yielded_;
}

// The image is written outside the store's lock, into a buffer taken under it, so that frame
// waits and evictions are not held up meanwhile.
void CachingWorker::storePicture(const std::vector<int>& starts, int block, int slot,
                                 const video::CachePicture& picture) {
    const int frame = starts[static_cast<unsigned int>(block)] + slot;
    // The budget may have narrowed the window past the frame while the run went on.
    const std::optional<bool> onScreen = store_.neededOnScreen(frame);
    if (!onScreen) {
        return;
    }
    // Read once: the drawing thread may change it meanwhile, and the size must match the pixels.
    const int divisor = store_.resolutionDivisor();
    // The worker holds the open video's lock for the pass: the depth stays as it is.
    const decode::TexelFormat format = store_.texelFormat();
    const size_t bytes = picture.imageBytes(divisor, format);
    // Room is made before the store is locked: making it may shrink this cache's window as well
    // as the others'.
    video::FrameReservation room = video::CacheBudget::instance().reserve(
        cache_, bytes,
        *onScreen ? video::CacheBudget::Need::kShown : video::CacheBudget::Need::kAhead);
    if (!room) {
        store_.keepOutOfWindow(frame);
        return;
    }
    std::shared_ptr<video::CachedFrame> image =
        video::CachedFrame::make(store_.frameBuffers(), bytes, std::move(room));
    if (image && !picture.writeImage(divisor, image->pixels(), format)) {
        image.reset();
    }
    // The frame to store; then what its slot held, let go of once the store is unlocked.
    video::FrameRef stored = std::move(image);
    const bool late = store_.storeFrame(block, slot, stored);
    stored.reset();
    if (late) {
        lateWorkDone_();
    }
}
