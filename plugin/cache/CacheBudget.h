#pragma once

#include "cache/BudgetAccount.h"
#include "cache/FrameBufferPool.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace video {

// The memory the caches of the process may hold together: cached frames and their spare
// buffers, the process's spare buffers, and what each node needs besides (its open decoder, its
// texture), all counted here (see Spend). Whenever room is needed, the process's spares are
// freed first. The memory left after what is not a frame or a spare is shared evenly among the
// caches that hold frames: a frame ahead of the one shown is stored only within its cache's share,
// or when the budget has room, and it takes room only from caches beyond their share. A frame to be
// shown is always stored: room is made from the other frames, farthest first, and when there
// are none left the budget is passed rather than the refresh going without its frame.
class CacheBudget {
public:
    // What a frame about to be stored is for.
    enum class Need {
        kShown,  // the frame on screen or the next one: stored even over the budget
        kAhead,  // read ahead: stored within the cache's share
    };

    // Read once, when first asked for: from CINESHEET_CACHE_MB, or half the memory the process
    // may use.
    static CacheBudget& instance();

    size_t limit() const { return limit_; }
    // Everything charged, and what was charged for one kind of spending.
    size_t used() const { return used_; }
    size_t used(Spend spend) const { return usedBy_[static_cast<size_t>(spend)]; }
    // What was wrong with the user's setting, once; empty when nothing was, or when already told.
    std::string takeWarning();

    void enrol(BudgetClient* client);
    void leave(BudgetClient* client);

    // Makes room for a frame of `bytes` for `client` and counts them as its frames, for the
    // frame made with the reservation; empty, counting nothing, when the frame is not to be
    // stored (never for Need::kShown). A spare of the process of `bytes` is room enough: the
    // frame is to take it, its charge with it (should another thread take it first, the budget
    // is passed by this frame until room is next made). Called with none of the client's locks
    // held: it may ask any cache, the client included, to give up frames.
    FrameReservation reserve(BudgetClient& client, size_t bytes, Need need);
    // The bytes of frames `client` could hold now, those it holds included: the free room
    // besides them, or its share when that is more. Called with no cache's store lock held.
    size_t roomForFrames(const BudgetClient& client);
    // Makes room for `bytes` that are not a frame (a decoder about to open) from frames not
    // shown, largest caches first, as far as there are such frames. Called with no cache's
    // store lock held.
    void makeRoom(size_t bytes);
    // Counts bytes spent or given back (a frame buffer allocated, a decoder opened...). Never
    // waits.
    void charge(BudgetAccount* account, Spend spend, size_t bytes);
    void refund(BudgetAccount* account, Spend spend, size_t bytes);

private:
    CacheBudget(size_t limit, std::string warning);
    // Everything charged but the one or two kinds.
    size_t usedBesides(Spend first, Spend second) const;
    // The bytes of frames each cache may hold when the budget is full.
    size_t shareOfFrames(const BudgetClient& requester) const;
    void count(BudgetAccount* account, Spend spend, size_t bytes);
    // Asks the clients holding the most frames, beyond `above` bytes of them, to give one up.
    bool takeFromLargest(const BudgetClient* spared, size_t above);
    // Makes room for `bytes` of `client`'s frames read ahead within its share; false when there
    // is none.
    bool makeRoomAhead(const BudgetClient& client, size_t bytes, std::vector<FrameBuffer>& freed);
    // Makes room for `bytes` from the process's spares, then from any cache's frames not shown,
    // as far as there are such; a spare of `sparing` bytes (0: none) is left for the frame about
    // to be stored to take. Freed spares go to `freed`, to be let go of once the lock is.
    void makeRoomFromAll(size_t bytes, size_t sparing, std::vector<FrameBuffer>& freed);

    const size_t limit_;
    std::string warning_;
    std::atomic<size_t> used_{0};
    std::array<std::atomic<size_t>, kSpendKinds> usedBy_{};
    // Guards the list, and keeps an enrolled client alive while the budget asks it for room.
    std::mutex mutex_;
    std::vector<BudgetClient*> clients_;
};

}  // namespace video
