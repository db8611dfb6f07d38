#pragma once

#include "cache/BudgetAccount.h"
#include "cache/CacheJobQueue.h"
#include "cache/CachedFrames.h"
#include "cache/CachingJob.h"
#include "cache/CachingWorker.h"
#include "cache/DecodingPool.h"
#include "cache/FrameSource.h"
#include "cache/FrameStore.h"
#include "cache/OpenVideo.h"
#include "cache/PacketScan.h"
#include "cache/VideoFacts.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The open video of one node, the cache of its decoded frames and the work that fills it: the
// front the drawing thread uses, over the open video (OpenVideo), the frame store (FrameStore),
// the work asked of the worker (CacheJobQueue), and the worker's pieces of work (CachingWorker,
// PacketScan), run by the process's decoding pool. The drawing thread asks for a file, sets the
// resolution frames are kept at, and asks for frames; it only ever waits for the worker, until a
// deadline: when a wait runs out the work goes on, and the worker asks for a refresh once what
// was waited for is there. A file whose index does not list its frames is scanned between the
// jobs, and its blocks come as the scan settles them. All locking stays inside the parts.
class VideoCache final : public video::BudgetClient,
                         public video::PoolClient,
                         public video::FrameSource {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    using OpenState = VideoOpenState;

    // `lateWorkDone` is called from the worker when a file or frame the drawing thread stopped
    // waiting for is ready. Nothing is asked of the pool until a file is first opened.
    explicit VideoCache(std::function<void()> lateWorkDone,
                        video::DecodingPool& pool = video::DecodingPool::instance());
    // Drops the queued work, ends the piece under way (a file being read or a picture being
    // decoded is left at once), waits for the pool to let go, and frees every frame.
    ~VideoCache() override;
    VideoCache(const VideoCache&) = delete;
    VideoCache& operator=(const VideoCache&) = delete;

    // Whether the pool serves this cache.
    bool workerStarted() const { return enrolled_ && pool_.running(); }

    // For the pool: how urgent the next piece of work is, and doing it.
    std::optional<video::Urgency> nextWork() override { return worker_.nextWork(); }
    void runWork() override { worker_.runWork(); }
    // Has the pool look at this cache's work again.
    void wakePool();

    // Closes what was open and has the worker open the video at `path`; returns at once.
    void open(const std::string& path) override;
    // Waits, until `deadline` at most, for the file asked for to be open or found unplayable.
    OpenState awaitOpen(Deadline deadline);
    // Forgets the open video and every cached frame.
    void close() override;
    OpenState openState() const;
    // Why the file could not be opened, once found unplayable ("" otherwise).
    std::string openFailure() const;
    bool isOpen() const { return openState() == OpenState::kOpen; }
    // Waits, until `deadline` at most, for the file asked for to be open with every frame known:
    // its blocks, frame count and keyframe interval are final then. False when it is not, in time.
    bool awaitListing(Deadline deadline);

    // The open video: the size of its pictures turned upright, the shape of their pixels, its
    // frame rate (0 when unknown) and the first frame of each block, then the frame count (while
    // the scan goes on, the first frame past the blocks settled so far). All zero, and blocks
    // [0, 0], until it is open.
    int frameWidth() const;
    int frameHeight() const;
    AVRational pixelAspect() const;
    double videoFrameRate() const;
    std::vector<int> blockStarts() const { return store_.blockStarts(); }

    // Frames are kept at 1/divisor of their size (1, 2 or 4). A change drops the frames of the
    // former size.
    int resolutionDivisor() const { return store_.resolutionDivisor(); }
    void setResolutionDivisor(int divisor);
    // Frames of more than 8 bits are kept as half float when the depth asks for it (see
    // decode::videoTexelFormat). A change of how the open file's frames are kept drops the
    // frames kept the former way.
    void setDepth(decode::CacheDepth depth) override;
    // How the open video's frames are kept: 8-bit until it is open.
    decode::TexelFormat texelFormat() const { return store_.texelFormat(); }

    // Finds the frame's block and asks the worker for the `windowFrames` frames around it, unless
    // the window being served already holds it well inside. A frame past the blocks while the
    // scan goes on is asked for with job.block −1. False (job.block −1) when the frame is not in
    // the video.
    bool addBlockCachingJob(int frame, int windowFrames, CachingJob& job);
    // The frame is handed to `show` as soon as it is cached (held by reference, so that it stays
    // whole while it is copied even when the worker evicts it meanwhile; the store is not
    // locked): at once when it is, else once it is decoded, until `deadline`.
    // Returns what `show` returned; false without calling it when the frame does not come (it
    // cannot be decoded, no worker runs, or the deadline passed: then the worker asks for a
    // refresh once it has the frame).
    using FrameUse = std::function<bool(const unsigned char* pixels)>;
    bool awaitFrame(const CachingJob& job, const FrameUse& show, Deadline deadline);
    // The stored frame nearest to `frame`, at the size frames are kept at now.
    video::HeldFrame nearestHeld(int frame) const override;

    // The first frame of the open file found lost because the file ends before it, −1 while
    // none is: a file cut short, whose index declares frames past those it holds (known once it
    // is listed), or whose last listed frames, or frames a whole decoding ran into the end of the
    // file before, do not come. Frames that failed for lack of memory never count.
    int endedEarlyAt() const { return store_.endedEarlyAt(); }
    // Whether the frame, at or past that one, is known not to come: it failed, or it lies
    // between the frames the file holds and those its index declares.
    bool lostToEarlyEnd(int frame) const { return store_.lostToEarlyEnd(frame); }

    // Which frames are stored now.
    video::CachedFrames cachedFrames() const override { return store_.cachedFrames(); }
    // The open file's timecode of its first picture; empty when it has none.
    std::string startTimecode() const;

    // Waits the drawing thread began for frames not yet there.
    long long waitPolls() const;

    // Gives up spare buffers, else the stored frame farthest from those shown and wanted.
    bool giveUpFarthest() override { return store_.giveUpFarthest(); }

    // The parts, for tests and benchmarks that look inside or hold the worker still.
    FrameStore& store() { return store_; }
    const FrameStore& store() const { return store_; }
    OpenVideo& openVideo() { return video_; }
    CacheJobQueue& jobQueue() { return queue_; }
    CachingWorker& worker() { return worker_; }

private:
    void startWorker();
    void stopWorker();
    bool workerRunning() const;
    // Queues the job unless another is waiting; true when queued.
    bool queueIfIdle(const CachingJob& job);
    // Frames kept another way were dropped: so are the spare buffers and the jobs, whose frames
    // are to be decoded again.
    void dropFrames(FrameStore::Frames dropped);
    // Empties the store and the queue and closes the file; the open video's lock held.
    void clearAllData();

    const std::function<void()> lateWorkDone_;
    video::DecodingPool& pool_;
    // Set by the drawing thread when the cache first asks the pool for work.
    bool enrolled_ = false;
    FrameStore store_{&account()};
    OpenVideo video_{pool_, account()};
    CacheJobQueue queue_;
    PacketScan scan_{video_, store_, queue_, pool_};
    CachingWorker worker_{video_, store_, queue_, scan_, pool_, *this, lateWorkDone_};
    // The drawing thread's own: the block, frame and window length of the last request queued.
    int lastQueuedBlock_ = -1;
    int lastQueuedFrame_ = -1;
    int lastQueuedWindow_ = -1;
};
