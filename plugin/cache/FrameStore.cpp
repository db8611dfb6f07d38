#include "cache/BlockRun.h"
#include "cache/CacheBudget.h"
#include "cache/VideoCache.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

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

// Wakes the waiters once the store's lock, taken after it, is released.
class NotifyOnExit {
public:
    explicit NotifyOnExit(std::condition_variable& changed) : changed_(changed) {}
    NotifyOnExit(const NotifyOnExit&) = delete;
    NotifyOnExit& operator=(const NotifyOnExit&) = delete;
    ~NotifyOnExit() { changed_.notify_all(); }

private:
    std::condition_variable& changed_;
};

}  // namespace

void VideoCache::decodeBlocks(int firstBlock, int lastBlock) {
    const std::vector<int>& starts = cache.blockStarts;
    if (firstBlock < 0 || lastBlock < firstBlock ||
        lastBlock + 1 >= static_cast<int>(starts.size())) {
        return;
    }
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
    if (endFrame <= firstFrame) {
        return;
    }
    // The frames of the window these blocks still lack; the others are decoded only on the way.
    std::vector<bool> wanted(static_cast<size_t>(endFrame - firstFrame), false);
    {
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        for (int block = firstBlock; block <= lastBlock; ++block) {
            const int first = starts[static_cast<unsigned int>(block)];
            const int count = starts[static_cast<unsigned int>(block) + 1] - first;
            std::vector<video::FrameRef>& slots = cache.blocks[block];
            slots.resize(static_cast<size_t>(count));
            for (int slot = 0; slot < count; ++slot) {
                wanted[static_cast<size_t>(first + slot - firstFrame)] =
                    cache.window.contains(first + slot) &&
                    slots[static_cast<size_t>(slot)] == nullptr;
            }
        }
        forgetFrames(decoder.failedFrames, wanted, firstFrame);
    }
    bool stopped = false;
    if (laneDecoders().size() > 1) {
        decodeBlocksApart(firstBlock, lastBlock, wanted, stopped);
    } else {
        // Checked at every picture, so that a long run never holds up a stop or another file. A
        // newer request that waits for a frame the run does not bring (a scrub) ends it at once;
        // one for a frame already stored elsewhere ends it where the next block begins. More
        // urgent work of another cache ends it at once too, as does a window the budget narrowed
        // past every frame the run still lacks: the decoder carries on from there next time.
        video::RunYield yield(firstBlock, firstFrame, endFrame);
        auto stopRequested = [&](int block) {
            stopped = stopped || !decoder.running || decoder.interrupt ||
                      newerJobWaitsElsewhere(firstFrame, endFrame - 1) ||
                      yield.stopsAt(block, [this] { return newestJobFrame(); }) || yields() ||
                      !lacksWindowFrames(firstBlock, lastBlock, wanted);
            return stopped;
        };
        decoder.blocks.decodeBlocks(
            firstBlock, lastBlock,
            [this](int block, int slot, const video::CachePicture& picture) {
                storePicture(block, slot, picture);
            },
            stopRequested,
            [&wanted, &starts, firstFrame](int block, int slot) {
                return wanted[static_cast<size_t>(starts[static_cast<unsigned int>(block)] + slot -
                                                  firstFrame)];
            });
    }
    int endedAt = -1;
    for (const video::BlockDecoder* blocks : laneDecoders()) {
        const int at = blocks->endedEarlyAt();
        if (at >= 0 && (endedAt < 0 || at < endedAt)) {
            endedAt = at;
        }
    }
    if (endedAt >= 0) {
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        if (decoder.endedEarlyAt < 0 || endedAt < decoder.endedEarlyAt) {
            decoder.endedEarlyAt = endedAt;
        }
    }
    // What the blocks did not deliver is settled below: a frame waited for may never come.
    if (settleRun(firstBlock, lastBlock, wanted, stopped)) {
        lateWorkDone_();
    }
}

bool VideoCache::lacksWindowFrames(int firstBlock, int lastBlock,
                                   const std::vector<bool>& wanted) const {
    const std::vector<int>& starts = cache.blockStarts;
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    for (int block = firstBlock; block <= lastBlock; ++block) {
        const int start = starts[static_cast<unsigned int>(block)];
        const int end = starts[static_cast<unsigned int>(block) + 1];
        for (int frame = std::max(start, cache.window.first);
             frame < std::min(end, cache.window.last + 1); ++frame) {
            if (wanted[static_cast<size_t>(frame - firstFrame)] &&
                !slotStored(block, frame - start)) {
                return true;
            }
        }
    }
    return false;
}

bool VideoCache::settleRun(int firstBlock, int lastBlock, const std::vector<bool>& wanted,
                           bool stopped) {
    const std::vector<int>& starts = cache.blockStarts;
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
    const NotifyOnExit settled(cache.storeChanged);
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    if (!stopped && decoder.running && !decoder.interrupt) {
        // What the whole run did not deliver never comes: requests for it need not wait.
        forgetFrames(decoder.failedFrames, wanted, firstFrame);
        for (int frame = firstFrame; frame < endFrame; ++frame) {
            const int block = video::blockOfFrame(starts, starts.size(), frame);
            const size_t slot =
                static_cast<size_t>(frame - starts[static_cast<unsigned int>(block)]);
            if (wanted[static_cast<size_t>(frame - firstFrame)] &&
                cache.blocks[block][slot] == nullptr && cache.window.contains(frame)) {
                decoder.failedFrames.push_back(frame);
            }
        }
    }
    for (int block = firstBlock; block <= lastBlock; ++block) {
        const std::vector<video::FrameRef>& slots = cache.blocks[block];
        if (std::all_of(slots.begin(), slots.end(),
                        [](const video::FrameRef& slot) { return !slot; })) {
            // Nothing stored: leave the block out; a later pass tries it again.
            cache.blocks.erase(block);
        }
    }
    return cache.lateWait >= 0 && listed(decoder.failedFrames, cache.lateWait) &&
           settlesLateWait(cache.lateWait);
}

bool VideoCache::settlesLateWait(int frame) {
    if (frame < 0 || cache.lateWait != frame) {
        return false;
    }
    cache.lateWait = -1;
    return true;
}

bool VideoCache::storeFrameInCache(int block, int index, video::FrameRef& image) {
    auto found = cache.blocks.find(block);
    if (found == cache.blocks.end() || index < 0 ||
        static_cast<size_t>(index) >= found->second.size()) {
        return false;
    }
    if (!image) {
        decoder.failedFrames.push_back(cache.blockStarts[static_cast<unsigned int>(block)] + index);
        return false;
    }
    std::swap(found->second[static_cast<size_t>(index)], image);
    return true;
}

// The frame of the newest request waiting for the worker, −1 for none.
int VideoCache::newestJobFrame() {
    const std::lock_guard<std::mutex> lock(cache.queueMutex);
    return cache.jobs.empty() ? -1 : cache.jobs.back().frame;
}

// Makes the picture's cache image and stores it. The image is written outside the store's lock,
// into a buffer taken under it, so that frame waits and evictions are not held up meanwhile.
void VideoCache::storePicture(int block, int slot, const video::CachePicture& picture) {
    const int frame = cache.blockStarts[static_cast<unsigned int>(block)] + slot;
    {
        // The budget may have narrowed the window past the frame while the run went on.
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        if (!cache.window.contains(frame)) {
            return;
        }
    }
    // Read once: the drawing thread may change it meanwhile, and the size must match the pixels.
    const int divisor = decoder.resolutionDivisor;
    // The worker holds decoderMutex for the pass: the depth stays as it is.
    const decode::TexelFormat format = heldTexelFormat();
    const size_t bytes = picture.imageBytes(divisor, format);
    // Room is made before the store is locked: making it may shrink this cache's window as well
    // as the others'.
    video::CacheBudget::Need need = video::CacheBudget::Need::kAhead;
    {
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        if (neededOnScreen(frame)) {
            need = video::CacheBudget::Need::kShown;
        }
    }
    const bool room = video::CacheBudget::instance().reserve(*this, bytes, need);
    std::shared_ptr<video::CachedFrame> image;
    if (room) {
        image = video::CachedFrame::make(cache.frameBuffers, bytes);
    }
    if (image && !picture.writeImage(divisor, image->pixels(), format)) {
        image.reset();
    }
    // The frame to store; then what its slot held, let go of once the store is unlocked.
    video::FrameRef stored = std::move(image);
    bool late = false;
    {
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        if (!room) {
            keepOutOfWindow(frame);
        } else {
            late = storeFrameInCache(block, slot, stored) && settlesLateWait(frame);
            // Not needed when a spare buffer took the frame.
            video::CacheBudget::instance().dropReservation();
        }
    }
    cache.storeChanged.notify_all();
    stored.reset();
    if (late) {
        lateWorkDone_();
    }
}

// A frame the budget has no room for: the window narrows past it, so that it is neither asked
// for again in this pass nor waited for. The frame asked for fails instead.
void VideoCache::keepOutOfWindow(int frame) {
    if (frame == cache.wantedFrame) {
        decoder.failedFrames.push_back(frame);
    } else if (frame < cache.wantedFrame) {
        cache.window.first = std::max(cache.window.first, frame + 1);
    } else {
        cache.window.last = std::min(cache.window.last, frame - 1);
    }
}

bool VideoCache::neededOnScreen(int frame) const {
    return frame == cache.wantedFrame || frame == cache.wantedFrame + 1 ||
           frame == cache.shownFrame || frame == cache.shownFrame + 1;
}

bool VideoCache::giveUpFarthest() {
    if (cache.frameBuffers->spareCount() > 0) {
        // Until the worker's next window, frames leaving the store go to the process's spares,
        // which room is made from first, rather than swelling this cache's frames again.
        cache.frameBuffers->freeSpares();
        cache.frameBuffers->setLimit(0);
        return true;
    }
    // Let go of once the store is unlocked; a reader copying it keeps it, counted, until done.
    video::FrameRef givenUp;
    {
        const std::lock_guard<std::mutex> store(cache.storeMutex);
        // The stored frame farthest from the one the window was set around.
        int farthestBlock = -1;
        size_t farthestSlot = 0;
        int farthestFrame = 0;
        long long farthestDistance = -1;
        for (const auto& [block, slots] : cache.blocks) {
            const int start = cache.blockStarts[static_cast<unsigned int>(block)];
            for (size_t slot = 0; slot < slots.size(); ++slot) {
                const int frame = start + static_cast<int>(slot);
                const long long distance =
                    std::llabs(static_cast<long long>(frame) - cache.wantedFrame);
                if (slots[slot] && distance > farthestDistance && !neededOnScreen(frame)) {
                    farthestBlock = block;
                    farthestSlot = slot;
                    farthestFrame = frame;
                    farthestDistance = distance;
                }
            }
        }
        if (farthestBlock < 0) {
            return false;
        }
        givenUp = std::move(cache.blocks[farthestBlock][farthestSlot]);
        givenUp->discard();
        keepOutOfWindow(farthestFrame);
    }
    givenUp.reset();
    // A frame waited for may now lie outside the narrowed window.
    cache.storeChanged.notify_all();
    return true;
}
