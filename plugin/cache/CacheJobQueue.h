#pragma once

#include "cache/CachingJob.h"
#include "cache/DecodingPool.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <queue>
#include <string>
#include <vector>

// What the drawing thread asks of a cache's worker: files to open, frames to cache and the packet
// scan to go on with, under one lock that is taken last (no other lock is ever taken while it is
// held). Only the newest job counts: older ones are out of date by the time the worker gets to
// them. A stop is for good.
class CacheJobQueue {
public:
    // What the worker is asked to do next: open a file, serve the job, or scan on.
    struct Work {
        std::optional<OpenRequest> open;
        CachingJob job;
        bool scan = false;
    };
    // What waits, without taking it: for the pool to rank the cache's work.
    struct Waiting {
        enum Kind { kNothing, kOpen, kJob, kScan } kind = kNothing;
        CachingJob job;
        video::Urgency scan;
    };

    // False once stopped.
    bool running() const { return running_; }
    // Drops everything asked and takes no more work.
    void stop();

    // Asks for the file instead of anything asked before.
    void askToOpen(const std::string& path);
    // Whether an open or close asked for since makes this open's result worthless.
    bool outdated(long generation) const;
    // A file left half read for other work is read again next, unless something else was asked
    // for meanwhile.
    void retryOpen(const OpenRequest& request);
    // Drops the jobs, the file asked for (one under way is left unpublished) and the scan.
    void clear();
    // Drops the jobs, as frames are to be decoded again.
    void dropJobs();

    void push(const CachingJob& job);
    // Queues the job unless another is waiting; true when queued.
    bool pushIfIdle(const CachingJob& job);
    bool jobWaiting() const;
    // The jobs waiting, older ones included until the worker takes the newest.
    size_t jobCount() const;
    // The newest job waiting, if any; its frame, −1 for none.
    std::optional<CachingJob> newestJob() const;
    int newestJobFrame() const;
    // The job a pass left for more urgent work is taken up again later, unless a newer job
    // replaces it.
    void leaveUnfinished(const CachingJob& job);

    // Takes the next piece of work: a file, else the newest job (or the one a pass left for more
    // urgent work), else the scan; false when there is none.
    bool take(Work& next);
    Waiting waiting() const;

    // The packet scan of a file whose index does not list its frames.
    void scanFromNowOn();
    // Before a scan: false, dropping the scan, when the file is listed; else the frame of a job
    // waiting for the scan (−1 for none).
    bool startScan(bool listingComplete, int& wantedFrame);
    // Asked before each packet: true when other work of this cache comes first. `rank` is set
    // to the scan's urgency when the pool is to be asked whether other caches' work outranks it.
    bool scanYields(int packetsScanned, std::optional<video::Urgency>& rank);
    // After a scan settled blocks (`starts`): a job waiting for the scan is queued once its
    // frame is in a block or the scan is over; else `cut`, the job served whose window ended at
    // the last block, is served again.
    void scanSettled(bool complete, int packetsScanned, const std::vector<int>& starts,
                     const std::optional<CachingJob>& cut);
    // A job for a frame past the blocks waits for the scan, unless a newer job came.
    void parkForScan(const CachingJob& job);

    // A test's hold: the scan stops once it has read `packets` packets (−1 for no hold).
    void holdScan(int packets);
    // Whether the scan has stopped at its hold.
    bool scanHeld() const;

private:
    // Whether the scan has more to read and is not held; mutex_ held.
    bool scanWanted() const;
    // How urgent scanning on is: awaited while a job waits for a frame past the scanned part,
    // else after every node's look-ahead; mutex_ held.
    video::Urgency scanUrgency() const;

    mutable std::mutex mutex_;
    // Lowered under mutex_, so that no work is taken after a stop; read freely.
    std::atomic<bool> running_{true};
    std::queue<CachingJob> jobs_;
    // The job a pass left for more urgent work.
    std::optional<CachingJob> unfinished_;
    std::optional<OpenRequest> toOpen_;
    // The count of opens and closes.
    long openGeneration_ = 0;
    // Whether the packet scan has more to read, the packets it has read, and a job for a frame
    // past the blocks, served once the scan has settled that frame's block.
    bool scanDue_ = false;
    int packetsScanned_ = 0;
    int scanHold_ = -1;
    std::optional<CachingJob> parkedJob_;
};
