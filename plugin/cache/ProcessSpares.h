#pragma once

#include "cache/BudgetAccount.h"
#include "cache/FrameBufferPool.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace video {

// Frame buffers no cache keeps any more (beyond its own spares, of a former size, its store
// emptied, the cache gone), for any cache of the process to take, at the same size, before it
// asks the system for memory: writing a frame into memory the process has touched costs a
// fraction of touching fresh memory, and a node opened after another closed, or a file changed
// on a node, would otherwise fill its whole window in fresh memory.
//
// They stay counted in the budget, as the process's spares rather than a cache's frames, and
// only while the budget has room for them: a buffer that comes while the budget is past its
// limit is freed, making room for anything frees spares before any cache's frames, and what is
// charged past the limit otherwise has them freed at once. A spare not taken within the keep
// time is freed by a thread of the set's own, started with the first spare, so that the memory
// goes back to the system a few seconds after a scene closes or playback stops, off the main
// thread (closing a node no longer frees its frames there). Buffers are freed with no lock held.
class ProcessSpares {
public:
    using Clock = std::chrono::steady_clock;
    // Long enough for a file changed on a node, a node deleted and made again, or a scene
    // opened again, to find the former frames' buffers; short enough that the memory is back
    // before anyone looks for it.
    static constexpr std::chrono::seconds kKeptFor{5};

    static ProcessSpares& instance();
    ~ProcessSpares();
    ProcessSpares(const ProcessSpares&) = delete;
    ProcessSpares& operator=(const ProcessSpares&) = delete;

    // Keeps the buffer, charged to the process's spares from now on; frees it when the budget is
    // past its limit.
    void keep(FrameBuffer buffer);
    // The spare of `bytes` kept last, charged to `account`'s frames from now on (the
    // reservation's charge taken over when it was made for them); empty when there is none.
    FrameBuffer take(size_t bytes, BudgetAccount* account, FrameReservation& reservation);
    bool holds(size_t bytes) const;
    // Takes out the spare kept longest, of another size than `sparing` (0: of any size), and
    // refunds it at once, for room in the budget; the caller frees it once its own locks are let
    // go of. Empty when there is none.
    FrameBuffer giveUp(size_t sparing);
    // Frees the spares kept since before `now` less the keep time, and as many others as the
    // budget is past its limit. The set's thread calls it when a spare is due.
    void trim(Clock::time_point now);
    // Has the set's thread free spares while the budget is past its limit: for what is charged
    // without making room first (a texture, a decoder's threads), on a thread that must not wait.
    void budgetPassed();
    // Frees every spare and joins the set's thread: the plug-in's unloading calls it, so that no
    // thread runs on into an unloaded library. The next spare kept starts the thread again.
    void freeAll();
    // How long a spare is kept untaken (tests keep them until they trim them themselves).
    void setKeptFor(Clock::duration keptFor);

    size_t count() const;
    size_t bytes() const { return account_.bytes(Spend::kSpares); }

private:
    struct Spare {
        FrameBuffer buffer;
        Clock::time_point since;
    };

    ProcessSpares();
    // The spares due by `now`, out of the set; the lock held.
    std::vector<FrameBuffer> takeDue(Clock::time_point now);
    // When the spare kept longest is due; the lock held, and the set not empty.
    Clock::time_point nextDue() const;
    void trimWhenDue();

    BudgetAccount account_;
    mutable std::mutex mutex_;
    // A spare was kept, the keep time changed, the budget was passed, or the thread is to stop.
    std::condition_variable changed_;
    // Bytes → spares of that size, the one kept longest first.
    std::map<size_t, std::deque<Spare>> spares_;
    Clock::duration keptFor_ = kKeptFor;
    std::thread trimmer_;
    bool stopping_ = false;
};

}  // namespace video
