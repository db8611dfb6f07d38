#include "cache/CacheBudget.h"

#include "cache/FrameCache.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace video {
namespace {

constexpr size_t kMegabyte = 1024 * 1024;

size_t physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? static_cast<size_t>(pages) * static_cast<size_t>(pageSize)
                                     : 0;
}

// The stored frame of the cache farthest from the frame last asked of it, never that frame.
struct Farthest {
    int block = -1;
    size_t slot = 0;
    int frame = 0;
    long long distance = -1;
};

Farthest farthestFrame(const FrameCache& cache) {
    Farthest farthest;
    for (const auto& [block, slots] : cache.blocks) {
        const int start = cache.blockStarts[static_cast<unsigned int>(block)];
        for (size_t slot = 0; slot < slots.size(); ++slot) {
            const int frame = start + static_cast<int>(slot);
            const long long distance =
                std::llabs(static_cast<long long>(frame) - cache.wantedFrame);
            if (slots[slot] && distance > farthest.distance && frame != cache.wantedFrame) {
                farthest = Farthest{block, slot, frame, distance};
            }
        }
    }
    return farthest;
}

size_t& reservedByThisThread() {
    thread_local size_t reserved = 0;
    return reserved;
}

}  // namespace

size_t cacheBudgetBytes(const char* setting, size_t physicalBytes) {
    if (setting) {
        char* end = nullptr;
        const unsigned long long megabytes = std::strtoull(setting, &end, 10);
        if (end != setting && *end == '\0' && megabytes > 0 && setting[0] != '-' &&
            megabytes < SIZE_MAX / kMegabyte) {
            return static_cast<size_t>(megabytes) * kMegabyte;
        }
    }
    return physicalBytes / 2;
}

CacheBudget& CacheBudget::instance() {
    static CacheBudget budget(
        cacheBudgetBytes(std::getenv("CINESHEET_CACHE_MB"), physicalMemory()));
    return budget;
}

void CacheBudget::enrol(FrameCache* cache) {
    const std::lock_guard<std::mutex> lock(mutex_);
    caches_.push_back(cache);
}

void CacheBudget::leave(FrameCache* cache) {
    const std::lock_guard<std::mutex> lock(mutex_);
    caches_.erase(std::remove(caches_.begin(), caches_.end(), cache), caches_.end());
}

bool CacheBudget::reserve(size_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    while (used_ + bytes > limit_) {
        if (!shrinkOnce()) {
            return false;
        }
    }
    used_ += bytes;
    reservedByThisThread() += bytes;
    return true;
}

void CacheBudget::dropReservation() {
    used_ -= reservedByThisThread();
    reservedByThisThread() = 0;
}

void CacheBudget::add(size_t bytes) {
    size_t& reserved = reservedByThisThread();
    const size_t covered = std::min(reserved, bytes);
    reserved -= covered;
    used_ += bytes - covered;
}

// Frees the spare buffers of every cache, or else the farthest frame of all, narrowing its
// cache's window past it so that its worker does not decode it again. False when nothing is left
// to free.
bool CacheBudget::shrinkOnce() {
    for (FrameCache* cache : caches_) {
        std::unique_lock<std::mutex> store(cache->storeMutex);
        if (cache->frameBuffers.spareCount() > 0) {
            cache->frameBuffers.setLimit(0);
            std::vector<unsigned char*> spares = cache->frameBuffers.takeRetired();
            store.unlock();
            freeBuffers(std::move(spares));
            return true;
        }
    }
    FrameCache* victim = nullptr;
    long long farthestDistance = -1;
    for (FrameCache* cache : caches_) {
        const std::lock_guard<std::mutex> store(cache->storeMutex);
        const long long distance = farthestFrame(*cache).distance;
        if (distance > farthestDistance) {
            farthestDistance = distance;
            victim = cache;
        }
    }
    if (!victim) {
        return false;
    }
    std::vector<unsigned char*> evicted;
    {
        const std::lock_guard<std::mutex> store(victim->storeMutex);
        const Farthest farthest = farthestFrame(*victim);
        if (farthest.block < 0) {
            return true;  // it changed meanwhile: look again
        }
        unsigned char*& slot = victim->blocks[farthest.block][farthest.slot];
        victim->frameBuffers.discard(slot);
        slot = nullptr;
        if (farthest.frame < victim->wantedFrame) {
            victim->window.first = std::max(victim->window.first, farthest.frame + 1);
        } else {
            victim->window.last = std::min(victim->window.last, farthest.frame - 1);
        }
        evicted = victim->frameBuffers.takeRetired();
    }
    freeBuffers(std::move(evicted));
    // A frame waited for may now lie outside the narrowed window. The cache stays enrolled, so
    // alive, while the budget's own lock is held.
    victim->storeChanged.notify_all();
    return true;
}

}  // namespace video
