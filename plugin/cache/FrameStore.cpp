#include "cache/BlockDecoder.h"
#include "cache/CacheBudget.h"
#include "cache/CacheImage.h"
#include "cache/VideoCache.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace {

// Takes the wanted frames of a block starting at `first` out of the list.
void forgetFrames(MIntArray& frames, const std::vector<bool>& wanted, int first) {
    MIntArray kept;
    for (unsigned int i = 0; i < frames.length(); ++i) {
        const long long slot = static_cast<long long>(frames[i]) - first;
        if (slot < 0 || slot >= static_cast<long long>(wanted.size()) ||
            !wanted[static_cast<size_t>(slot)]) {
            kept.append(frames[i]);
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

void VideoCache::decodeBlock(int block) {
    const MIntArray& starts = cache.blockStarts;
    if (block < 0 || block + 1 >= static_cast<int>(starts.length())) {
        return;
    }
    const int count = starts[block + 1] - starts[block];
    if (count <= 0) {
        return;
    }
    const int first = starts[block];
    // The frames of the window this block still lacks; the others are decoded only on the way.
    std::vector<bool> wanted(static_cast<size_t>(count), false);
    {
        const std::lock_guard<std::mutex> lock(cache.storeMutex);
        std::vector<unsigned char*>& slots = cache.blocks[block];
        slots.resize(static_cast<size_t>(count), nullptr);
        for (int slot = 0; slot < count; ++slot) {
            wanted[static_cast<size_t>(slot)] =
                cache.window.contains(first + slot) && slots[static_cast<size_t>(slot)] == nullptr;
        }
        forgetFrames(decoder.failedFrames, wanted, first);
    }
    // Checked at every picture, so that a long block never holds up a stop, another file, or a
    // scrub to a frame elsewhere. Once it says stop, it keeps saying so.
    bool stopped = false;
    auto stopRequested = [this, &stopped, first, count] {
        stopped = stopped || !decoder.running || decoder.interrupt ||
                  newerJobWaitsElsewhere(first, first + count - 1);
        return stopped;
    };
    video::BlockDecoder blockDecoder(decoder.source);
    blockDecoder.decodeBlock(
        block,
        [this, block, first](int slot, const video::RgbPicture& picture) {
            // Room is made before the store is locked: making it may shrink this cache's window
            // as well as the others'.
            const size_t bytes =
                video::cacheImageBytes(picture.width, picture.height, decoder.resolutionDivisor);
            const bool room = video::CacheBudget::instance().reserve(bytes);
            {
                const std::lock_guard<std::mutex> lock(cache.storeMutex);
                if (room) {
                    storeFrameInCache(block, slot, picture);
                    // Not needed when a spare buffer took the frame.
                    video::CacheBudget::instance().dropReservation();
                } else {
                    keepOutOfWindow(first + slot);
                }
            }
            cache.storeChanged.notify_all();
        },
        stopRequested, wanted);
    // Looked at before the store is locked: the job check takes the store's lock itself.
    const bool cutShort = stopRequested();
    // What the block did not deliver is settled below: a frame waited for may never come.
    const NotifyOnExit settled(cache.storeChanged);
    const std::lock_guard<std::mutex> lock(cache.storeMutex);
    std::vector<unsigned char*>& slots = cache.blocks[block];
    if (!cutShort) {
        // What the whole block did not deliver never comes: requests for it need not wait.
        forgetFrames(decoder.failedFrames, wanted, first);
        for (int slot = 0; slot < count; ++slot) {
            if (wanted[static_cast<size_t>(slot)] && slots[static_cast<size_t>(slot)] == nullptr &&
                cache.window.contains(first + slot)) {
                decoder.failedFrames.append(first + slot);
            }
        }
    }
    if (std::all_of(slots.begin(), slots.end(), [](unsigned char* slot) { return !slot; })) {
        // Nothing stored: leave the block out; a later pass tries it again.
        cache.blocks.erase(block);
    }
}

bool VideoCache::storeFrameInCache(int block, int index, const video::RgbPicture& picture) {
    auto found = cache.blocks.find(block);
    if (found == cache.blocks.end() || index < 0 ||
        static_cast<size_t>(index) >= found->second.size()) {
        return false;
    }
    // Read once: the drawing thread may change it meanwhile, and the size must match the pixels.
    const int divisor = decoder.resolutionDivisor;
    const bool possible = video::cacheImagePossible(picture, divisor);
    const size_t bytes =
        possible ? video::cacheImageBytes(picture.width, picture.height, divisor) : 0;
    unsigned char* image = possible ? cache.frameBuffers.take(bytes) : nullptr;
    if (image) {
        video::fillCacheImage(picture, divisor, image);
    } else {
        image = video::makeCacheImage(picture, divisor);
    }
    if (!image) {
        decoder.failedFrames.append(cache.blockStarts[static_cast<unsigned int>(block)] + index);
        return false;
    }
    unsigned char*& slot = found->second[static_cast<size_t>(index)];
    cache.frameBuffers.release(slot);
    slot = image;
    cache.frameBuffers.stored(image, bytes);
    return true;
}

// A frame the budget has no room for: the window narrows past it, so that it is neither asked
// for again in this pass nor waited for. The frame asked for fails instead.
void VideoCache::keepOutOfWindow(int frame) {
    if (frame == cache.wantedFrame) {
        decoder.failedFrames.append(frame);
    } else if (frame < cache.wantedFrame) {
        cache.window.first = std::max(cache.window.first, frame + 1);
    } else {
        cache.window.last = std::min(cache.window.last, frame - 1);
    }
}
