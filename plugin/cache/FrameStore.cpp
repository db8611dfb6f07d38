#include "cache/FrameStore.h"

#include "decode/Timecode.h"

#include <cstdlib>
#include <string>
#include <utility>

FrameStore::FrameStore(video::BudgetAccount* account)
    : frameBuffers_(std::make_shared<FrameBufferPool>(account)) {}

bool FrameStore::setDepth(decode::CacheDepth depth) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const decode::TexelFormat before = heldTexelFormat();
    contents_.depth = depth;
    return heldTexelFormat() != before;
}

decode::TexelFormat FrameStore::texelFormat() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return heldTexelFormat();
}

decode::TexelFormat FrameStore::texelFormatOf(AVPixelFormat samples) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return decode::videoTexelFormat(contents_.depth, samples);
}

decode::TexelFormat FrameStore::heldTexelFormat() const {
    return decode::videoTexelFormat(contents_.depth, contents_.facts.pictureFormat);
}

VideoFacts FrameStore::facts() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return contents_.facts;
}

std::vector<int> FrameStore::blockStarts() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return contents_.blockStarts;
}

void FrameStore::markOpening() {
    const std::lock_guard<std::mutex> lock(mutex_);
    contents_.facts.openState = VideoOpenState::kOpening;
}

bool FrameStore::publishOpen(const video::VideoSource& source, bool opened) {
    bool late = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        VideoFacts& facts = contents_.facts;
        facts.openState = opened ? VideoOpenState::kOpen : VideoOpenState::kFailed;
        facts.failure = source.failure();
        if (opened) {
            facts.streamIndex = source.streamIndex();
            // The cache holds the pictures turned upright.
            facts.frameWidth = source.uprightWidth();
            facts.frameHeight = source.uprightHeight();
            facts.pixelAspect = source.uprightPixelAspect();
            facts.pictureFormat = source.decoder()->pix_fmt;
            facts.framesDeclared = source.framesDeclared();
            facts.videoFrameRate = source.averageFrameRate();
            facts.startTimecode = source.input() != nullptr
                                      ? decode::startTimecode(*source.input(), facts.streamIndex)
                                      : std::string();
            copyBlockStarts(source.blockStarts());
            facts.scanning = !source.listingComplete();
        }
        late = contents_.lateWait == kFileAwaited;
        if (late) {
            contents_.lateWait = -1;
        }
    }
    changed_.notify_all();
    return late;
}

void FrameStore::markFailed() {
    const std::lock_guard<std::mutex> lock(mutex_);
    contents_.facts.openState = VideoOpenState::kFailed;
}

FrameStore::Frames FrameStore::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    Frames dropped = takeAllFrames();
    contents_.failedFrames.clear();
    contents_.endedEarlyAt = -1;
    contents_.activeBlocks.clear();
    contents_.window = video::FrameWindow{};
    contents_.lateWait = -1;
    contents_.shownFrame = -1;
    contents_.facts = VideoFacts{};
    copyBlockStarts({});
    return dropped;
}

FrameStore::Frames FrameStore::dropAllFrames() {
    const std::lock_guard<std::mutex> lock(mutex_);
    Frames dropped = takeAllFrames();
    contents_.failedFrames.clear();
    return dropped;
}

FrameStore::Frames FrameStore::takeAllFrames() {
    Frames dropped;
    for (auto& entry : contents_.blocks) {
        for (video::FrameRef& slot : entry.second) {
            if (slot) {
                dropped.push_back(std::move(slot));
            }
        }
    }
    contents_.blocks.clear();
    return dropped;
}

// One pass over the store under its lock, the pixels untouched.
std::pair<int, video::FrameRef> FrameStore::nearestStored(int frame) const {
    std::pair<int, video::FrameRef> nearest{-1, nullptr};
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int>& starts = contents_.blockStarts;
    for (const auto& [block, frames] : contents_.blocks) {
        if (block < 0 || static_cast<size_t>(block) >= starts.size()) {
            continue;
        }
        for (size_t slot = 0; slot < frames.size(); ++slot) {
            const int stored = starts[static_cast<size_t>(block)] + static_cast<int>(slot);
            const int distance = std::abs(stored - frame);
            const int best = std::abs(nearest.first - frame);
            // The earlier of two as near: the one a forward play has just shown.
            if (frames[slot] != nullptr && (!nearest.second || distance < best ||
                                            (distance == best && stored < nearest.first))) {
                nearest = {stored, frames[slot]};
            }
        }
    }
    return nearest;
}

video::CachedFrames FrameStore::cachedFrames() const {
    video::CachedFrames cached;
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int>& starts = contents_.blockStarts;
    if (starts.size() < 2) {
        return cached;
    }
    cached.clip = video::FrameWindow{0, starts[starts.size() - 1] - 1};
    for (const auto& [block, frames] : contents_.blocks) {
        if (block < 0 || static_cast<unsigned int>(block) >= starts.size()) {
            continue;
        }
        for (size_t slot = 0; slot < frames.size(); ++slot) {
            if (frames[slot] != nullptr) {
                cached.add(starts[block] + static_cast<int>(slot));
            }
        }
    }
    return cached;
}

int FrameStore::endedEarlyAt() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return heldEndedEarlyAt();
}

bool FrameStore::lostToEarlyEnd(int frame) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const int endedAt = heldEndedEarlyAt();
    const int listedFrames = contents_.blockStarts[contents_.blockStarts.size() - 1];
    if (endedAt < 0 || frame < endedAt) {
        return false;
    }
    return frame < listedFrames ? listed(contents_.failedFrames, frame)
                                : frame < contents_.facts.framesDeclared;
}

int FrameStore::heldEndedEarlyAt() const {
    const int listedFrames = contents_.blockStarts[contents_.blockStarts.size() - 1];
    const VideoFacts& facts = contents_.facts;
    // Once the file is listed, the frames its index declares past those it holds are lost.
    if (!facts.scanning && facts.framesDeclared > listedFrames &&
        (contents_.endedEarlyAt < 0 || listedFrames < contents_.endedEarlyAt)) {
        return listedFrames;
    }
    return contents_.endedEarlyAt;
}

bool FrameStore::openAndListed() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return contents_.facts.openState == VideoOpenState::kOpen && !contents_.facts.scanning;
}

bool FrameStore::holds(int block, int slot) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return slotStored(block, slot);
}

bool FrameStore::slotStored(int block, int slot) const {
    auto found = contents_.blocks.find(block);
    return found != contents_.blocks.end() && slot >= 0 &&
           static_cast<size_t>(slot) < found->second.size() &&
           found->second[static_cast<size_t>(slot)] != nullptr;
}

bool FrameStore::storeFrame(int block, int slot, video::FrameRef& image) {
    bool late = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        late = placeFrame(block, slot, image) &&
               settlesLateWait(contents_.blockStarts[static_cast<unsigned int>(block)] + slot);
    }
    changed_.notify_all();
    return late;
}

bool FrameStore::putFrame(int block, int slot, video::FrameRef& image) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return placeFrame(block, slot, image);
}

bool FrameStore::placeFrame(int block, int slot, video::FrameRef& image) {
    auto found = contents_.blocks.find(block);
    if (found == contents_.blocks.end() || slot < 0 ||
        static_cast<size_t>(slot) >= found->second.size()) {
        return false;
    }
    if (!image) {
        contents_.failedFrames.push_back(contents_.blockStarts[static_cast<unsigned int>(block)] +
                                         slot);
        return false;
    }
    std::swap(found->second[static_cast<size_t>(slot)], image);
    return true;
}

void FrameStore::setBlockStarts(const std::vector<int>& starts) {
    const std::lock_guard<std::mutex> lock(mutex_);
    copyBlockStarts(starts);
}

bool FrameStore::settlesLateWait(int frame) {
    if (frame < 0 || contents_.lateWait != frame) {
        return false;
    }
    contents_.lateWait = -1;
    return true;
}

FrameStore::ScanSettled FrameStore::settleScan(const video::VideoSource& source, bool renumbered,
                                               bool complete, int servedBlock) {
    ScanSettled settled;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        Contents& c = contents_;
        settled.windowCut =
            servedBlock >= 0 && c.window.last + 1 >= c.blockStarts[c.blockStarts.size() - 1];
        if (renumbered) {
            settled.windowCut = false;
            settled.dropped = takeAllFrames();
            c.failedFrames.clear();
            c.activeBlocks.clear();
            c.window = video::FrameWindow{};
        }
        copyBlockStarts(source.blockStarts());
        c.facts.scanning = !complete;
        if (complete && c.lateWait >= 0 &&
            video::blockOfFrame(c.blockStarts, c.blockStarts.size(), c.lateWait) < 0) {
            settled.late = settlesLateWait(c.lateWait);
        }
    }
    changed_.notify_all();
    return settled;
}

bool FrameStore::locate(CachingJob& job, bool& pending) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int>& starts = contents_.blockStarts;
    job.block = video::blockOfFrame(starts, starts.size(), job.frame);
    if (job.block >= 0) {
        job.frameInBlock = job.frame - starts[static_cast<unsigned int>(job.block)];
        return true;
    }
    pending = contents_.facts.scanning;
    return false;
}

void FrameStore::copyBlockStarts(const std::vector<int>& starts) {
    contents_.blockStarts = starts;
    // Nothing open, a stream without keyframes, or a scan that settled no block yet: one empty
    // block at the end keeps every reader of the first block's length in range while no frame
    // lies in any block.
    if (contents_.blockStarts.empty()) {
        contents_.blockStarts.push_back(0);
    }
    if (contents_.blockStarts.size() == 1) {
        contents_.blockStarts.push_back(contents_.blockStarts[0]);
    }
}

void FrameStore::wakeWaits() {
    { const std::lock_guard<std::mutex> lock(mutex_); }
    changed_.notify_all();
}
