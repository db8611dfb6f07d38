#pragma once

#include "cache/FrameBufferPool.h"

#include <atomic>
#include <cstddef>
#include <memory>

namespace video {

// One cached frame: its pixels and their charge to the process-wide budget, taken in the
// constructor (a spare buffer of the cache's pool carries its charge over) and given back in the
// destructor, where the buffer returns to the pool. A store holds frames by shared reference, and
// so does a thread copying one out: a frame the store gives up meanwhile stays whole, and
// counted, until that thread lets go of it.
class CachedFrame {
public:
    // A frame of `bytes` from `pool`, taking over the reservation made for it; null when there
    // is no memory for it.
    static std::shared_ptr<CachedFrame> make(const std::shared_ptr<FrameBufferPool>& pool,
                                             size_t bytes, FrameReservation reservation = {});

    // Takes a buffer of `bytes` from the pool: a spare, or new memory charged to the budget.
    CachedFrame(std::shared_ptr<FrameBufferPool> pool, size_t bytes, FrameReservation reservation);
    ~CachedFrame();
    CachedFrame(const CachedFrame&) = delete;
    CachedFrame& operator=(const CachedFrame&) = delete;

    unsigned char* pixels() { return buffer_.data(); }
    const unsigned char* pixels() const { return buffer_.data(); }
    size_t bytes() const { return buffer_.bytes(); }

    // Its buffer is freed rather than kept as a spare once the last reference goes: for a frame
    // given up to the budget, which needs the room.
    void discard() const { reusable_ = false; }

private:
    const std::shared_ptr<FrameBufferPool> pool_;
    FrameBuffer buffer_;
    mutable std::atomic<bool> reusable_{true};
};

// A stored frame, as the stores and their readers hold it.
using FrameRef = std::shared_ptr<const CachedFrame>;

}  // namespace video
