#pragma once

#include "cache/BudgetAccount.h"
#include "cache/CachedFrames.h"
#include "cache/DecodingPool.h"
#include "cache/FrameCache.h"
#include "cache/RefreshRequest.h"
#include "decode/DecoderLane.h"
#include "picture/CacheImageWriter.h"

#include <maya/MString.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The open video of one node, the cache of its decoded frames and the work that fills it, done
// a piece at a time by the process's decoding pool (the "worker" below is whichever pool thread
// runs a piece). The drawing thread asks for a file, sets the resolution frames are kept at, and
// asks for frames; the worker opens the file, then decodes the blocks around the frame asked for,
// nearest first, into the store, and evicts what leaves the window. Footage whose every frame is
// a keyframe is decoded several blocks at once, a decoder per pool thread. A file whose index
// does not list its frames is scanned by the worker between those jobs, and its blocks come as the
// scan settles them: a frame past them is waited for like any other. The drawing thread only ever
// waits for the worker, until a deadline; when a wait runs out the work goes on, and the worker
// asks for a refresh once what was waited for is there. All locking stays inside.
class VideoCache final : public video::BudgetClient, public video::PoolClient {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    using OpenState = VideoOpenState;

    // `lateWorkDone` is called from the worker when a file or frame the drawing thread stopped
    // waiting for is ready. Nothing is asked of the pool until a file is first opened.
    explicit VideoCache(std::function<void()> lateWorkDone = video::requestViewportRefresh,
                        video::DecodingPool& pool = video::DecodingPool::instance());
    // Drops the queued work, ends the piece under way (a file being read or a picture being
    // decoded is left at once), waits for the pool to let go, and frees every frame.
    ~VideoCache() override;
    VideoCache(const VideoCache&) = delete;
    VideoCache& operator=(const VideoCache&) = delete;

    // Whether the pool serves this cache.
    bool workerStarted() const { return enrolled_ && pool_.running(); }

    // For the pool: how urgent the next piece of work is, and doing it.
    std::optional<video::Urgency> nextWork() override;
    void runWork() override;

    // Closes what was open and has the worker open the video at `path`; returns at once.
    void open(const MString& path);
    // Waits, until `deadline` at most, for the file asked for to be open or found unplayable.
    OpenState awaitOpen(Deadline deadline);
    // Forgets the open video and every cached frame.
    void close();
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
    std::vector<int> blockStarts() const;

    // Frames are kept at 1/divisor of their size (1, 2 or 4). A change drops the frames of the
    // former size.
    int resolutionDivisor() const { return decoder.resolutionDivisor; }
    void setResolutionDivisor(int divisor);
    // Frames of more than 8 bits are kept as half float when the depth asks for it (see
    // decode::videoTexelFormat). A change of how the open file's frames are kept drops the
    // frames kept the former way.
    void setCacheDepth(decode::CacheDepth depth);
    // How the open video's frames are kept: 8-bit until it is open.
    decode::TexelFormat texelFormat() const;

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
    // The stored frame nearest to `frame` (the earlier of two as near) and its picture, held by
    // reference, asking the worker for nothing: what a refresh that does not wait shows while
    // the frame asked for is decoded, taken before asking for it, as the worker then lets go of
    // what lies outside the new window. −1 and null when none is stored.
    std::pair<int, video::FrameRef> nearestStored(int frame) const;

    // The first frame of the open file found lost because the file ends before it, −1 while
    // none is: a file cut short, whose index declares frames past those it holds (known once it
    // is listed), or whose last listed frames, or frames a whole decoding ran into the end of the
    // file before, do not come. Frames that failed for lack of memory never count.
    int endedEarlyAt() const;
    // Whether the frame, at or past that one, is known not to come: it failed, or it lies
    // between the frames the file holds and those its index declares.
    bool lostToEarlyEnd(int frame) const;

    // Which frames are stored now.
    video::CachedFrames cachedFrames() const;
    // The open file's timecode of its first picture; empty when it has none.
    std::string startTimecode() const;

    // Waits the drawing thread began for frames not yet there.
    long long waitPolls() const { return cache.waitPolls; }

    // Gives up spare buffers, else the stored frame farthest from those shown and wanted.
    bool giveUpFarthest() override;

private:
    friend struct VideoCacheInternals;

    // What the worker is asked to do next: open a file, serve the newest job, or scan on.
    struct Work {
        std::optional<OpenRequest> open;
        CachingJob job;
        bool scan = false;
    };

    // The worker.
    void startWorker();
    void stopWorker();
    void wakePool();
    // Takes the next piece of work: a file, else the newest job (or the one a pass left for more
    // urgent work), else the scan; false when there is none.
    bool takeWork(Work& next);
    // How urgent serving the job is now: its frame not stored yet is awaited; else the distance
    // of the first block of its window still lacking frames, ahead in the direction of play
    // counting as nearer.
    video::Urgency urgencyOf(const CachingJob& job) const;
    // How urgent scanning on is: awaited while a job waits for a frame past the scanned part,
    // else after every node's look-ahead. queueMutex held.
    video::Urgency scanUrgency() const;
    // Whether to end the pass serving `serving_` for more urgent work of another cache; the job
    // is then taken up again later.
    bool yields();
    // Whether the decoder may be closed: no frame was asked for in a while, nothing is to be
    // done, and the file's packets are all listed.
    bool decoderIdle() const;
    // Closes the decoder, keeping the frames, the open file and its packets; decoderMutex held.
    void releaseDecoder();
    // Opens the decoder closed for idleness again before a pass; false when the file can no
    // longer be played as it was. decoderMutex held.
    bool reopenDecoder();
    void openOnWorker(const OpenRequest& request);
    // Whether an open or close asked for since makes this open's result worthless.
    bool openOutdated(long generation);
    bool jobWaiting();
    // Whether the newest waiting job wants a frame outside first..last that is not stored yet:
    // someone waits for it (a scrub), and the block being decoded is of no use to them. While
    // playing, the newer job's frame is usually stored, and the block ahead is finished.
    bool newerJobWaitsElsewhere(int first, int last);
    void serveJob(const CachingJob& job);
    // Whether a frame of the window in this block is neither stored nor known to be undecodable,
    // and the first such frame (−1 for none).
    bool blockLacksFrames(int block) const;
    int firstLackingFrame(int block) const;
    // Whether the slot of the block holds a frame. Called with the store's lock held.
    bool slotStored(int block, int slot) const;
    bool setActiveBlocks(const CachingJob& job);
    // Takes what left the window out of the store, for the caller to let go of once it has let
    // go of the store.
    std::vector<video::FrameRef> clearInactiveBlockImages();
    // Takes every frame out of the store, likewise; their buffers go back to the cache's pool,
    // and from there to the process's spares once the caller has dropped the pool's spares.
    std::vector<video::FrameRef> clearAllBlockImages();

    // The packet scan of a file whose index does not list its frames.
    // Reads on until other work comes, then publishes what it settled.
    void scanOnWorker();
    // Whether the scan has more to read and is not held; queueMutex held.
    bool scanWanted() const;
    bool scanPaused();
    void publishScan(video::ScanProgress progress);
    // The source's blocks into the store's; storeMutex held.
    void copyBlockStarts();
    // Finds the block of a job asked for past the blocks and notes the job as served; false when
    // there is none yet (the job then waits for the scan) or ever.
    bool placeAfterScan(CachingJob& job);
    // The drawing thread's wait for a frame past the blocks to be in one; storeMutex held.
    bool awaitSettledBlock(CachingJob& job, std::unique_lock<std::mutex>& storeLock,
                           Deadline deadline);

    // Decoding into the store.
    // Decodes the blocks firstBlock to lastBlock in one pass into the store.
    void decodeBlocks(int firstBlock, int lastBlock);
    // Decodes the blocks in short runs shared out among the decoders of the pool's threads, the
    // runs nearest the first block first; sets `stopped` when the pass was cut short.
    void decodeBlocksApart(int firstBlock, int lastBlock, const std::vector<bool>& wanted,
                           bool& stopped);
    // The decoders of intra-only footage, one per pool thread, opened on first need; fewer than
    // two when the footage is decoded by the source's own decoder. decoderMutex held.
    std::vector<video::BlockDecoder*> laneDecoders();
    // After a run: notes the wanted frames it did not deliver, unless it was stopped, and drops
    // the blocks it stored nothing of. True when that settles the frame of a late wait.
    bool settleRun(int firstBlock, int lastBlock, const std::vector<bool>& wanted, bool stopped);
    // Whether the window still holds a frame of the run that is wanted and not stored.
    bool lacksWindowFrames(int firstBlock, int lastBlock, const std::vector<bool>& wanted) const;
    // Makes the picture's cache image and stores it.
    void storePicture(int block, int slot, const video::CachePicture& picture);
    // Puts a finished frame into its slot, leaving in `image` what the slot held, for the caller
    // to let go of once it has let go of the store; null records the frame as failed (no memory
    // for it). False, leaving `image` as it was, when the slot is not in the store. The caller
    // holds storeMutex.
    bool storeFrameInCache(int block, int index, video::FrameRef& image);
    // A frame the budget has no room for: the window narrows past it.
    void keepOutOfWindow(int frame);
    // Whether the frame is one a refresh shows or is about to (the frame shown or wanted, or
    // the one after either): stored even over the budget, and never given up to it. The caller
    // holds storeMutex.
    bool neededOnScreen(int frame) const;
    // The frame of the newest request waiting for the worker, −1 for none.
    int newestJobFrame();
    // Whether the frame is the one the drawing thread stopped waiting for, which is now settled
    // (stored, or known not to come): the caller then calls lateWorkDone_ once it has let go of
    // the store. The caller holds storeMutex.
    bool settlesLateWait(int frame);

    // The drawing thread's side.
    // Takes decoderMutex, first asking a running pass or open to stop.
    std::unique_lock<std::mutex> lockDecoder();
    // Has `change` change how frames are kept, with no pass running and the store locked; when
    // it returns true the frames kept the former way, and the spare buffers, are dropped.
    void changeFrameForm(const std::function<bool()>& change);
    // Charges the open decoder's estimate to the budget for frames kept in `format`, making room
    // for it first; decoderMutex held, storeMutex not.
    void chargeDecoder(decode::TexelFormat format);
    // endedEarlyAt; storeMutex held.
    int heldEndedEarlyAt() const;
    // How frames are kept now; decoderMutex or storeMutex held.
    decode::TexelFormat heldTexelFormat() const;
    // Empties the store and the queue and closes the file; decoderMutex held.
    void clearAllData();
    bool workerRunning() const;
    // Queues the job unless another is waiting; true when queued.
    bool queueIfIdle(const CachingJob& job);

    DecoderState decoder;
    FrameCache cache{&account()};
    // Why the open failed; under cache.storeMutex, as the open state.
    std::string openFailure_;
    // What the open decoder is estimated to hold; guarded by decoderMutex.
    video::BudgetCharge decoderCharge_;
    const std::function<void()> lateWorkDone_;

    // Scheduling on the pool.
    video::DecodingPool& pool_;
    // Set by the drawing thread when the cache first asks the pool for work.
    bool enrolled_ = false;
    // Guarded by queueMutex: the job a pass left for more urgent work.
    std::optional<CachingJob> unfinished_;
    // The job of the pass under way, and whether it gave way; only the pass touches them.
    CachingJob serving_;
    bool yielded_ = false;
    // +1 playing forward, −1 backward, 0 not known: from the last two requests queued.
    std::atomic<int> direction_{0};
    // When a frame was last asked for, to tell the nodes not drawn lately.
    std::atomic<std::chrono::steady_clock::rep> lastAsked_{0};
    // Guarded by decoderMutex: the open file's path, its seat among the pool's decoders, and the
    // extra decoders of intra-only footage.
    std::string openPath_;
    std::optional<video::DecoderSeat> seat_;
    std::vector<std::unique_ptr<video::DecoderLane>> lanes_;
    video::BudgetCharge laneCharge_;
    bool lanesTried_ = false;
    // The decoder was closed while no frame was asked for; set and cleared holding decoderMutex.
    std::atomic<bool> released_{false};
};
