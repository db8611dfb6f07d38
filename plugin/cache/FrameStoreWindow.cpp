#include "cache/FrameStore.h"

#include <algorithm>
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
