#pragma once

#include "cache/BudgetAccount.h"
#include "cache/CacheJobQueue.h"
#include "cache/CachingJob.h"
#include "cache/DecodingPool.h"
#include "cache/FrameStore.h"
#include "cache/OpenVideo.h"
#include "cache/PacketScan.h"
#include "picture/CacheImageWriter.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

// The work that fills a cache, done a piece at a time by the process's decoding pool (the
// "worker" is whichever pool thread runs a piece): it opens the file asked for, then decodes the
// blocks around the frame asked for, nearest first, into the store, and evicts what leaves the
// window. Footage whose every frame is a keyframe is decoded several blocks at once, a decoder
// per pool thread. Each piece holds the open video's lock throughout; the worker asks for a
// refresh once what the drawing thread stopped waiting for is there.
class CachingWorker {
public:
    // `cache` is the budget's client whose frames these are; `lateWorkDone` is called once what
    // was waited for in vain is ready.
    CachingWorker(OpenVideo& video, FrameStore& store, CacheJobQueue& queue, PacketScan& scan,
                  video::DecodingPool& pool, video::BudgetClient& cache,
                  const std::function<void()>& lateWorkDone);

    // For the pool: how urgent the next piece of work is, and doing it.
    std::optional<video::Urgency> nextWork();
    void runWork();

    // The drawing thread asked for a frame now; playing forward (+1), backward (−1).
    void noteAsked();
    void noteDirection(int direction) { direction_ = direction; }

    // Decodes the blocks firstBlock to lastBlock in one pass into the store; the open video's
    // lock held.
    void decodeBlocks(int firstBlock, int lastBlock);

private:
    // How urgent serving the job is now: its frame not stored yet is awaited; else the distance
    // of the first block of its window still lacking frames, ahead in the direction of play
    // counting as nearer.
    video::Urgency urgencyOf(const CachingJob& job) const;
    // Whether to end the pass serving `serving_` for more urgent work of another cache; the job
    // is then taken up again later.
    bool yields();
    // Whether the decoder may be closed: no frame was asked for in a while, nothing is to be
    // done, and the file's packets are all listed.
    bool decoderIdle() const;
    void open(const OpenRequest& request);
    // Whether the newest waiting job wants a frame outside first..last that is not stored yet:
    // someone waits for it (a scrub), and the block being decoded is of no use to them. While
    // playing, the newer job's frame is usually stored, and the block ahead is finished.
    bool newerJobWaitsElsewhere(int first, int last);
    void serveJob(const CachingJob& job);
    // Decodes the blocks in short runs shared out among the decoders of the pool's threads, the
    // runs nearest the first block first; sets `stopped` when the pass was cut short.
    void decodeBlocksApart(const std::vector<int>& starts, int firstBlock, int lastBlock,
                           const std::vector<bool>& wanted, bool& stopped);
    // Makes the picture's cache image and stores it.
    void storePicture(const std::vector<int>& starts, int block, int slot,
                      const video::CachePicture& picture);
    // Whether the pass is to stop at once: the worker stops, or the drawing thread waits.
    bool halted() const { return !queue_.running() || video_.interrupted(); }

    OpenVideo& video_;
    FrameStore& store_;
    CacheJobQueue& queue_;
    PacketScan& scan_;
    video::DecodingPool& pool_;
    video::BudgetClient& cache_;
    const std::function<void()>& lateWorkDone_;
    // The job of the pass under way, and whether it gave way; only the pass touches them.
    CachingJob serving_;
    bool yielded_ = false;
    // +1 playing forward, −1 backward, 0 not known: from the last two requests queued.
    std::atomic<int> direction_{0};
    // When a frame was last asked for, to tell the nodes not drawn lately.
    std::atomic<std::chrono::steady_clock::rep> lastAsked_{0};
};
