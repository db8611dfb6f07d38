#include "cache/PacketScan.h"

#include <mutex>
#include <optional>

PacketScan::PacketScan(OpenVideo& video, FrameStore& store, CacheJobQueue& queue,
                       video::DecodingPool& pool)
    : video_(video), store_(store), queue_(queue), pool_(pool) {}

bool PacketScan::run() {
    const std::unique_lock<std::mutex> lock = video_.lock();
    const video::VideoSource& source = video_.source();
    int wantedFrame = -1;
    if (!queue_.startScan(!source.isOpen() || source.listingComplete(), wantedFrame)) {
        return false;
    }
    return publish(video_.source().scanOn([this] { return paused(); }, wantedFrame));
}

bool PacketScan::paused() {
    if (!queue_.running() || video_.interrupted()) {
        return true;
    }
    std::optional<video::Urgency> rank;
    if (queue_.scanYields(video_.source().packetsScanned(), rank)) {
        return true;
    }
    return rank && pool_.outranked(*rank);
}

bool PacketScan::publish(video::ScanProgress progress) {
    const video::VideoSource& source = video_.source();
    const bool complete = source.listingComplete();
    if (progress == video::ScanProgress::nothingNew && !complete) {
        return false;
    }
    const bool renumbered = progress == video::ScanProgress::renumbered;
    FrameStore::ScanSettled settled =
        store_.settleScan(source, renumbered, complete, served_.block);
    if (renumbered) {
        served_ = CachingJob{};
    }
    queue_.scanSettled(complete, source.packetsScanned(), store_.blockStarts(),
                       settled.windowCut ? std::optional<CachingJob>(served_) : std::nullopt);
    pool_.wake();
    settled.dropped.clear();
    return settled.late;
}

// The block is looked up again here rather than trusted from the job: a reload or a new file may
// have replaced the block list since the job was queued.
bool PacketScan::place(CachingJob& job) {
    bool pending = false;
    if (store_.locate(job, pending)) {
        served_ = job;
        return true;
    }
    if (pending) {
        queue_.parkForScan(job);
    }
    return false;
}
