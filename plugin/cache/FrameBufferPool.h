#pragma once

#include "cache/BudgetAccount.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

// Frame buffers that left the store, kept for the frames stored next: touching fresh memory for
// the first time costs far more than refilling memory already in use, and the C library hands
// large freed blocks back to the system. Spares all have the size frames are now made at, and
// the store and the spares together never hold more buffers than the limit. Every buffer comes
// from malloc and is released with free; what the store and the spares let go of is given back
// to the process-wide cache budget at once, but freed by the owner once it has let go of the
// store lock (takeRetired): freeing a window's worth of large frames takes long enough to hold
// up every thread waiting for that lock. Guarded by the store lock.
class FrameBufferPool {
public:
    // Buffers are charged to `account`'s frames.
    explicit FrameBufferPool(video::BudgetAccount* account) : account_(account) {}
    FrameBufferPool(const FrameBufferPool&) = delete;
    FrameBufferPool& operator=(const FrameBufferPool&) = delete;
    ~FrameBufferPool();

    // A spare of exactly `bytes` bytes, or null. Asking for another size frees the spares of the
    // former one, which no frame can use any more.
    unsigned char* take(size_t bytes);
    // Takes back a buffer from `take` (or from malloc) that was not stored after all.
    void giveBack(unsigned char* buffer);
    // Notes that the store now holds `buffer`, of `bytes` bytes.
    void stored(unsigned char* buffer, size_t bytes);
    // Takes a buffer out of the store: kept as a spare when its size is the one frames are made
    // at and there is room, freed otherwise. Null is ignored.
    void release(unsigned char* buffer);
    // Takes a buffer out of the store and frees it. Null is ignored.
    void discard(unsigned char* buffer);
    // The most buffers the store and the spares may hold together; spares beyond it are freed.
    void setLimit(size_t buffers);
    // For when the whole store has been freed: frees the spares and forgets the stored buffers.
    void clear();

    size_t spareCount() const { return spares_.size(); }

    // The buffers let go of since the last call, for the caller to free (freeBuffers) once it has
    // let go of the store lock.
    std::vector<unsigned char*> takeRetired();

private:
    void freeSpares();
    void retire(unsigned char* buffer);
    void refund(size_t bytes);

    video::BudgetAccount* const account_;
    std::vector<unsigned char*> spares_;
    size_t spareBytes_ = 0;
    size_t limit_ = 0;
    // The spare handed out last: storing it adds nothing to the budget.
    const unsigned char* lastTaken_ = nullptr;
    // Size of each buffer the store holds: frames of a former size may still be in it.
    std::unordered_map<const unsigned char*, size_t> storedBytes_;
    std::vector<unsigned char*> retired_;
};

// Frees buffers taken from FrameBufferPool::takeRetired.
void freeBuffers(std::vector<unsigned char*> buffers);
