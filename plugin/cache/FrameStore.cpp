#include "cache/FrameStore.h"

#include "decode/Timecode.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace {

// Takes the wanted frames of a block starting at `first` out of the list.
void forgetFrames(std::vector<int>& frames, const std::vector<bool>& wanted, int first) {
    std::vector<int> kept;
    for (size_t i = 0; i < frames.size(); ++i) {
        const long long slot = static_cast<long long>(frames[i]) - first;
        if (slot < 0 || slot >= static_cast<long long>(wanted.size()) ||
            !wanted[static_cast<size_t>(slot)]) {
            kept.push_back(frames[i]);
        }
    }
    frames = kept;
}

}  // namespace

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

VideoOpenState FrameStore::awaitOpen(Deadline deadline, const std::function<bool()>& working) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (contents_.facts.openState != VideoOpenState::kOpening) {
            return contents_.facts.openState;
        }
        if (!working()) {
            return VideoOpenState::kOpening;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            contents_.lateWait = kFileAwaited;
            return VideoOpenState::kOpening;
        }
        changed_.wait_until(lock, deadline);
    }
}

bool FrameStore::awaitListing(Deadline deadline, const std::function<bool()>& working) {
    std::unique_lock<std::mutex> lock(mutex_);
    const VideoFacts& facts = contents_.facts;
    changed_.wait_until(lock, deadline, [&] {
        const bool opening = facts.openState == VideoOpenState::kOpening ||
                             (facts.openState == VideoOpenState::kOpen && facts.scanning);
        return !opening || !working();
    });
    return facts.openState == VideoOpenState::kOpen && !facts.scanning;
}

std::optional<FrameStore::Placed> FrameStore::place(int frame, CachingJob& job) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int>& starts = contents_.blockStarts;
    job.block = video::blockOfFrame(starts, starts.size(), frame);
    // Past the blocks settled so far, the worker scans on to the frame.
    if (job.block < 0 && (!contents_.facts.scanning || frame < starts[starts.size() - 1])) {
        return std::nullopt;
    }
    job.frameInBlock = job.block < 0 ? -1 : frame - starts[static_cast<unsigned int>(job.block)];
    const int frameCount = starts[starts.size() - 1];
    Placed placed;
    // No window yet: the worker has not served this file.
    placed.nextKept = contents_.window.length() == 0 ||
                      contents_.window.contains(std::min(frame + 1, frameCount - 1));
    placed.stored = slotStored(job.block, job.frameInBlock);
    return placed;
}

// The lock is released while waiting: the frame's reference keeps it whole once found, so the
// worker stores on and the budget evicts meanwhile. The worker wakes this thread whenever the
// store changes, so the frame is found as soon as it is stored.
video::FrameRef FrameStore::awaitFrame(const CachingJob& asked, Deadline deadline,
                                       const std::function<bool()>& working,
                                       const std::function<bool(const CachingJob&)>& askAgain) {
    if (asked.frame < 0 && (asked.block < 0 || asked.frameInBlock < 0)) {
        return nullptr;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    CachingJob job = asked;
    if ((job.block < 0 || job.frameInBlock < 0) &&
        !awaitSettledBlock(job, lock, deadline, working)) {
        return nullptr;
    }
    const size_t slotIndex = static_cast<size_t>(job.frameInBlock);
    bool askedAgain = false;
    // Set after an attempt to ask again, so that the store is looked at once more (it was
    // unlocked meanwhile) before waiting, and a busy queue is not asked again before a wake.
    bool justAsked = false;
    const std::vector<int>& starts = contents_.blockStarts;
    if (job.block + 1 >= static_cast<int>(starts.size())) {
        return nullptr;
    }
    const int wanted = starts[static_cast<unsigned int>(job.block)] + job.frameInBlock;
    contents_.lateWait = -1;
    contents_.shownFrame = wanted;
    for (;;) {
        if (listed(contents_.failedFrames, wanted)) {
            return nullptr;
        }
        auto found = contents_.blocks.find(job.block);
        if (found != contents_.blocks.end() && found->second.size() > slotIndex &&
            found->second[slotIndex] != nullptr) {
            return found->second[slotIndex];
        }
        // Only a frame being decoded is worth the wait: without a worker none ever is.
        if (!working()) {
            return nullptr;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            contents_.lateWait = wanted;
            return nullptr;
        }
        // The budget may have narrowed the window past the frame since it was asked for.
        if (!contents_.window.contains(wanted) && !askedAgain && !justAsked) {
            lock.unlock();
            askedAgain = askAgain(job);
            lock.lock();
            justAsked = true;
            continue;
        }
        justAsked = false;
        ++contents_.waitPolls;
        changed_.wait_until(lock, deadline);
    }
}

// The drawing thread's wait for a frame past the blocks to be in one.
bool FrameStore::awaitSettledBlock(CachingJob& job, std::unique_lock<std::mutex>& lock,
                                   Deadline deadline, const std::function<bool()>& working) {
    contents_.lateWait = -1;
    for (;;) {
        const std::vector<int>& starts = contents_.blockStarts;
        job.block = video::blockOfFrame(starts, starts.size(), job.frame);
        if (job.block >= 0) {
            job.frameInBlock = job.frame - starts[static_cast<unsigned int>(job.block)];
            return true;
        }
        if (!contents_.facts.scanning || job.frame < 0 || !working()) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            contents_.lateWait = job.frame;
            return false;
        }
        ++contents_.waitPolls;
        changed_.wait_until(lock, deadline);
    }
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

FrameStore::Lack FrameStore::lackFor(const CachingJob& job) const {
    Lack lack;
    const std::lock_guard<std::mutex> lock(mutex_);
    const Contents& c = contents_;
    if (!slotStored(job.block, job.frameInBlock) && !listed(c.failedFrames, job.frame)) {
        lack.awaited = true;
        return lack;
    }
    // A refresh played on within the window asks no new job, but waits all the same.
    if (c.shownFrame != job.frame && c.window.contains(c.shownFrame) &&
        !listed(c.failedFrames, c.shownFrame)) {
        const int shownBlock =
            video::blockOfFrame(c.blockStarts, c.blockStarts.size(), c.shownFrame);
        if (shownBlock >= 0 &&
            !slotStored(shownBlock,
                        c.shownFrame - c.blockStarts[static_cast<unsigned int>(shownBlock)])) {
            lack.awaited = true;
            return lack;
        }
    }
    for (unsigned int i = 0; i < c.activeBlocks.size() && lack.firstLacking < 0; ++i) {
        lack.firstLacking = firstLackingFrame(c.activeBlocks[i]);
    }
    return lack;
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

int FrameStore::firstLackingFrame(int block) const {
    const int start = contents_.blockStarts[static_cast<unsigned int>(block)];
    const int end = contents_.blockStarts[static_cast<unsigned int>(block) + 1];
    for (int frame = std::max(start, contents_.window.first);
         frame < std::min(end, contents_.window.last + 1); ++frame) {
        if (!slotStored(block, frame - start) && !listed(contents_.failedFrames, frame)) {
            return frame;
        }
    }
    return -1;
}

bool FrameStore::setWindow(const CachingJob& job, std::vector<int>& activeBlocks, Frames& evicted) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        Contents& c = contents_;
        c.wantedFrame = job.frame;
        const video::BlockWindow plan = video::planBlockWindow(
            c.blockStarts, c.blockStarts.size(), job.frame, job.block, job.windowFrames);
        c.window = plan.frames;
        c.activeBlocks = plan.blocks;
        activeBlocks = plan.blocks;
        if (plan.blocks.empty()) {
            return false;
        }
        std::vector<int> keptFailures;
        for (int frame : c.failedFrames) {
            if (c.window.contains(frame)) {
                keptFailures.push_back(frame);
            }
        }
        c.failedFrames = keptFailures;
        frameBuffers_->setLimit(static_cast<size_t>(c.window.length()));
        for (auto entry = c.blocks.begin(); entry != c.blocks.end();) {
            const bool kept = listed(c.activeBlocks, entry->first);
            const int start = c.blockStarts[static_cast<unsigned int>(entry->first)];
            for (size_t slot = 0; slot < entry->second.size(); ++slot) {
                if ((!kept || !c.window.contains(start + static_cast<int>(slot))) &&
                    entry->second[slot]) {
                    evicted.push_back(std::move(entry->second[slot]));
                }
            }
            entry = kept ? std::next(entry) : c.blocks.erase(entry);
        }
    }
    // The window may have left a frame being waited for behind.
    changed_.notify_all();
    return true;
}

bool FrameStore::lacksFrames(int block) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return firstLackingFrame(block) >= 0;
}

std::vector<bool> FrameStore::startRun(int firstBlock, int lastBlock, int firstFrame) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int>& starts = contents_.blockStarts;
    const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
    // The frames of the window these blocks still lack; the others are decoded only on the way.
    std::vector<bool> wanted(static_cast<size_t>(endFrame - firstFrame), false);
    for (int block = firstBlock; block <= lastBlock; ++block) {
        const int first = starts[static_cast<unsigned int>(block)];
        const int count = starts[static_cast<unsigned int>(block) + 1] - first;
        Frames& slots = contents_.blocks[block];
        slots.resize(static_cast<size_t>(count));
        for (int slot = 0; slot < count; ++slot) {
            wanted[static_cast<size_t>(first + slot - firstFrame)] =
                contents_.window.contains(first + slot) &&
                slots[static_cast<size_t>(slot)] == nullptr;
        }
    }
    forgetFrames(contents_.failedFrames, wanted, firstFrame);
    return wanted;
}

bool FrameStore::lacksWindowFrames(int firstBlock, int lastBlock,
                                   const std::vector<bool>& wanted) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<int>& starts = contents_.blockStarts;
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    for (int block = firstBlock; block <= lastBlock; ++block) {
        const int start = starts[static_cast<unsigned int>(block)];
        const int end = starts[static_cast<unsigned int>(block) + 1];
        for (int frame = std::max(start, contents_.window.first);
             frame < std::min(end, contents_.window.last + 1); ++frame) {
            if (wanted[static_cast<size_t>(frame - firstFrame)] &&
                !slotStored(block, frame - start)) {
                return true;
            }
        }
    }
    return false;
}

void FrameStore::noteEndedEarly(int frame) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (contents_.endedEarlyAt < 0 || frame < contents_.endedEarlyAt) {
        contents_.endedEarlyAt = frame;
    }
}

bool FrameStore::settleRun(int firstBlock, int lastBlock, const std::vector<bool>& wanted,
                           bool whole) {
    bool late = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        Contents& c = contents_;
        const std::vector<int>& starts = c.blockStarts;
        const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
        const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
        if (whole) {
            // What the whole run did not deliver never comes: requests for it need not wait.
            forgetFrames(c.failedFrames, wanted, firstFrame);
            for (int frame = firstFrame; frame < endFrame; ++frame) {
                const int block = video::blockOfFrame(starts, starts.size(), frame);
                const size_t slot =
                    static_cast<size_t>(frame - starts[static_cast<unsigned int>(block)]);
                if (wanted[static_cast<size_t>(frame - firstFrame)] &&
                    c.blocks[block][slot] == nullptr && c.window.contains(frame)) {
                    c.failedFrames.push_back(frame);
                }
            }
        }
        for (int block = firstBlock; block <= lastBlock; ++block) {
            const Frames& slots = c.blocks[block];
            if (std::all_of(slots.begin(), slots.end(),
                            [](const video::FrameRef& slot) { return !slot; })) {
                // Nothing stored: leave the block out; a later pass tries it again.
                c.blocks.erase(block);
            }
        }
        late = c.lateWait >= 0 && listed(c.failedFrames, c.lateWait) && settlesLateWait(c.lateWait);
    }
    changed_.notify_all();
    return late;
}

std::optional<bool> FrameStore::neededOnScreen(int frame) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!contents_.window.contains(frame)) {
        return std::nullopt;
    }
    return contents_.neededOnScreen(frame);
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

void FrameStore::keepOutOfWindow(int frame) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        narrowPast(frame);
    }
    changed_.notify_all();
}

void FrameStore::narrowPast(int frame) {
    if (!contents_.narrowPast(frame)) {
        contents_.failedFrames.push_back(frame);
    }
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

bool FrameStore::giveUpFarthest() {
    if (frameBuffers_->giveUpSpares()) {
        return true;
    }
    // Let go of once the store is unlocked; a reader copying it keeps it, counted, until done.
    video::FrameRef givenUp;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        Contents& c = contents_;
        video::FrameRef* farthestSlot = nullptr;
        const std::optional<int> farthest = c.farthest([&c, &farthestSlot](const auto& offer) {
            for (auto& [block, slots] : c.blocks) {
                const int start = c.blockStarts[static_cast<unsigned int>(block)];
                for (size_t slot = 0; slot < slots.size(); ++slot) {
                    if (slots[slot] && offer(start + static_cast<int>(slot))) {
                        farthestSlot = &slots[slot];
                    }
                }
            }
        });
        if (!farthest) {
            return false;
        }
        givenUp = std::move(*farthestSlot);
        givenUp->discard();
        narrowPast(*farthest);
    }
    givenUp.reset();
    // A frame waited for may now lie outside the narrowed window.
    changed_.notify_all();
    return true;
}

void FrameStore::wakeWaits() {
    { const std::lock_guard<std::mutex> lock(mutex_); }
    changed_.notify_all();
}
