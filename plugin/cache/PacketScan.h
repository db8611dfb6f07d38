#pragma once

#include "cache/CacheJobQueue.h"
#include "cache/CachingJob.h"
#include "cache/DecodingPool.h"
#include "cache/FrameStore.h"
#include "cache/OpenVideo.h"

// The packet scan of a file whose index does not list its frames, done by the worker between its
// other work: it reads on until other work comes, then hands the blocks it settled to the store.
// A frame past them is waited for like any other: its job waits for the scan, and is served once
// the scan has settled its block. All of it runs holding the open video's lock, which guards the
// job served last.
class PacketScan {
public:
    PacketScan(OpenVideo& video, FrameStore& store, CacheJobQueue& queue,
               video::DecodingPool& pool);

    // Reads on and publishes what it settled; true when that settles a wait that ran out.
    bool run();
    // Finds the block of a job asked for past the blocks and notes the job as served; false when
    // there is none yet (the job then waits for the scan) or ever.
    bool place(CachingJob& job);
    // Forgets the job served, as the file is closed.
    void forget() { served_ = CachingJob{}; }

private:
    // Asked before each packet: any other work of this cache comes first, and more urgent work
    // of another cache now and then.
    bool paused();
    // Once the scan is over, a frame waited for past the file's end is known never to come; a
    // job waiting for the scan goes to the queue once its frame is in a block, and the job
    // served is served again when its window was cut at the blocks settled before.
    bool publish(video::ScanProgress progress);

    OpenVideo& video_;
    FrameStore& store_;
    CacheJobQueue& queue_;
    video::DecodingPool& pool_;
    // The job served last.
    CachingJob served_;
};
