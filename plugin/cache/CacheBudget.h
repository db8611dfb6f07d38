#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

struct FrameCache;

namespace video {

// The budget in bytes for the frames of all caches of the process: `setting` is the value of the
// environment variable CINESHEET_CACHE_MB (whole megabytes); unset or not a positive number gives
// half of `physicalBytes`.
size_t cacheBudgetBytes(const char* setting, size_t physicalBytes);

// The memory every frame cache of the process may hold together, frames and spare buffers
// alike. Before a cache allocates a frame it reserves its bytes here; when the budget would be
// exceeded, the windows of all caches shrink, farthest frames first (spare buffers go before any
// frame, and no cache loses the frame last asked of it), until the new frame fits.
class CacheBudget {
public:
    static CacheBudget& instance();

    size_t limit() const { return limit_; }
    size_t used() const { return used_; }

    void enrol(FrameCache* cache);
    void leave(FrameCache* cache);

    // Makes room for `bytes` more and counts them as used, reserved for the calling thread's
    // next allocations; false, counting nothing, when even shrinking every window cannot. Called
    // with no store lock held: it takes the caches' ones.
    bool reserve(size_t bytes);
    // Gives back what the calling thread reserved and did not allocate.
    void dropReservation();
    // A buffer allocated (out of the calling thread's reservation first), or freed.
    void add(size_t bytes);
    void release(size_t bytes) { used_ -= bytes; }

private:
    explicit CacheBudget(size_t limit) : limit_(limit) {}
    bool shrinkOnce();

    const size_t limit_;
    std::atomic<size_t> used_{0};
    std::mutex mutex_;
    std::vector<FrameCache*> caches_;
};

}  // namespace video
