#pragma once

#include "cache/BudgetAccount.h"

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

// The memory of one cached frame and its charge to the process-wide cache budget, freed and
// refunded together.
class FrameBuffer {
public:
    FrameBuffer() = default;
    // Allocates `bytes` and charges them to `account`'s frames, taking the reservation's charge
    // when it was made for them; empty, charging nothing, when there is no memory.
    static FrameBuffer allocate(video::BudgetAccount* account, size_t bytes,
                                video::FrameReservation& reservation);
    // How many buffers the process has asked the system for so far: what reusing spares saves.
    static long allocations();

    unsigned char* data() const { return memory_.get(); }
    size_t bytes() const { return bytes_; }
    explicit operator bool() const { return memory_ != nullptr; }

    // Charges the buffer to `account` as `spend` from now on.
    void moveCharge(video::BudgetAccount* account, video::Spend spend) {
        charge_.moveTo(account, spend);
    }
    // Takes the reservation's charge for `account`'s frames instead of its own, when it was made
    // for this buffer's bytes; else moves its own charge there.
    void chargeTo(video::BudgetAccount* account, video::FrameReservation& reservation);
    // Refunds the charge ahead of the memory, for a buffer that is to be freed once the locks
    // held now are let go of.
    void refund() { charge_.reset(); }

private:
    struct Free {
        void operator()(unsigned char* memory) const { std::free(memory); }
    };
    std::unique_ptr<unsigned char, Free> memory_;
    size_t bytes_ = 0;
    video::BudgetCharge charge_;
};

// A cache's frame buffers that left its store, kept for the frames it stores next: touching fresh
// memory for the first time costs far more than refilling memory already in use, and the C
// library hands large freed blocks back to the system. Spares all have the size frames are now
// made at, and the buffers handed out (stored or still held by a reader) and the spares together
// never number more than the limit. Spares stay charged to the budget. A buffer the pool does not
// keep goes to the process's spares (video::ProcessSpares), for any cache; only buffers given up
// for room are freed. Buffers are freed with no lock held, the pool's own included: freeing a
// window's worth of large frames takes long enough to hold up every thread waiting for it. Safe
// to call from any thread.
class FrameBufferPool {
public:
    explicit FrameBufferPool(video::BudgetAccount* account) : account_(account) {}
    // Hands its spares to the process.
    ~FrameBufferPool();
    FrameBufferPool(const FrameBufferPool&) = delete;
    FrameBufferPool& operator=(const FrameBufferPool&) = delete;

    // A buffer of `bytes`: a spare of that size, the pool's or else the process's, else new
    // memory charged to the budget, the reservation's charge taken over for either of the last
    // two (a spare of the pool's own is charged already, and the reservation is refunded); empty
    // when there is none. Asking for another size hands the spares of the former one, which no
    // frame of this cache can use any more, to the process.
    FrameBuffer take(size_t bytes, video::FrameReservation reservation = {});
    // Takes back a buffer from `take`: kept as a spare when `reusable`, of the size frames are
    // made at and within the limit; handed to the process when `reusable` only; freed and
    // refunded otherwise.
    void giveBack(FrameBuffer buffer, bool reusable);
    // The most buffers handed out and spares may number together; spares beyond it go to the
    // process.
    void setLimit(size_t buffers);
    // Hands every spare to the process, and keeps none of the present size from now on.
    void dropSpares();
    // Frees every spare, for room in the budget.
    void freeSpares();
    // What a cache gives up first when the budget asks it for room: its spares, freed. Until its
    // window next moves, buffers leaving its store then go to the process's spares, which room is
    // made from first, rather than swelling its frames again. False when it has none.
    bool giveUpSpares();

    size_t spareCount() const;

private:
    video::BudgetAccount* const account_;
    mutable std::mutex mutex_;
    std::vector<FrameBuffer> spares_;
    size_t spareBytes_ = 0;
    size_t limit_ = 0;
    size_t handedOut_ = 0;
};
