#include "cache/FrameStore.h"

#include <algorithm>

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
