#pragma once

#include "cache/CachedFrame.h"
#include "cache/CachedFrames.h"
#include "cache/CachingJob.h"
#include "cache/FrameBufferPool.h"
#include "cache/FrameWindow.h"
#include "cache/VideoFacts.h"
#include "cache/WindowRule.h"
#include "decode/BlockDecoder.h"
#include "decode/CacheDepth.h"
#include "decode/VideoSource.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// A cache's decoded frames, the window they are kept in, what is known of the open file and how
// frames are kept, under one lock; the drawing thread waits on it for frames and for the file.
// The open video's lock is taken before this one, the job queue's after. Frames taken out are
// handed back to the caller, to be let go of once the lock is released: the last reference frees
// or keeps the buffer. Every change that may settle a wait wakes the waiters: this changes when
// they look, never what they find. FrameStore.cpp holds the file and the frames,
// FrameStoreWaits.cpp the drawing thread's waits, FrameStoreWindow.cpp the worker's window, its
// runs and what the budget takes.
class FrameStore {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    using Frames = std::vector<video::FrameRef>;
    static constexpr int kFileAwaited = -2;

    // The window rule's window holds whole blocks within the cacheFrames frames around the
    // wanted frame, or part of the wanted block when it is longer; the frame shown is the one
    // last asked for by a refresh, which may lie anywhere in the window.
    struct Contents : video::WindowRule {
        // The first frame of each block, then the frame count: [0, 0] while nothing is open.
        std::vector<int> blockStarts{0, 0};
        // The blocks holding frames of the window, in the order the worker fills them.
        std::vector<int> activeBlocks;
        // Block index → one frame per frame of the block, null until stored (and for frames
        // outside the window).
        std::map<int, Frames> blocks;
        // Frames of the window's blocks that their block's last whole decoding could not deliver
        // (no picture, or no memory for it): asking for them fails at once instead of waiting.
        std::vector<int> failedFrames;
        // The first frame a whole decoding found the file ended before (a file cut short), −1
        // for none so far.
        int endedEarlyAt = -1;
        // The frame whose wait ran out (kFileAwaited: the file's), −1 for none: once it is ready
        // the worker asks for a refresh.
        int lateWait = -1;
        // Waits the drawing thread has begun for frames not yet there (the cost a viewport
        // refresh pays).
        long long waitPolls = 0;
        VideoFacts facts;
        // How deep the frames are asked to be kept: with the pictures' format, 8-bit or half.
        decode::CacheDepth depth = decode::CacheDepth::kAuto;
    };

    // Frame buffers are charged to `account`'s frames.
    explicit FrameStore(video::BudgetAccount* account);

    // Runs `look` on the contents under the lock, for readers that look at them whole.
    template <typename Look>
    auto read(Look&& look) const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return look(static_cast<const Contents&>(contents_));
    }
    // Buffers of evicted frames for the next ones; locks itself.
    const std::shared_ptr<FrameBufferPool>& frameBuffers() const { return frameBuffers_; }

    // Frames are kept at 1/divisor of their size (1, 2 or 4); changed while no pass runs.
    int resolutionDivisor() const { return divisor_; }
    void setResolutionDivisor(int divisor) { divisor_ = divisor; }
    // Sets the depth; true when that changes how the open file's frames are kept.
    bool setDepth(decode::CacheDepth depth);
    decode::TexelFormat texelFormat() const;
    // How pictures of `samples` are kept at the depth asked for.
    decode::TexelFormat texelFormatOf(AVPixelFormat samples) const;
    VideoFacts facts() const;
    std::vector<int> blockStarts() const;

    // The file: asked for, opened or found unplayable (true when a wait for it ran out), and
    // found unplayable again when reopened.
    void markOpening();
    bool publishOpen(const video::VideoSource& source, bool opened);
    void markFailed();
    // Forgets the file and every frame, which are handed back.
    Frames clear();
    // Takes every frame out, forgetting the failed ones: how frames are kept changed.
    Frames dropAllFrames();

    // Waits, until `deadline` at most, for the file asked for to be open or found unplayable;
    // `working` tells whether a worker runs.
    VideoOpenState awaitOpen(Deadline deadline, const std::function<bool()>& working);
    // Waits likewise for the file to be open with every frame known.
    bool awaitListing(Deadline deadline, const std::function<bool()>& working);

    // Where a frame asked for lies.
    struct Placed {
        // Whether the frame after it is kept (or no window is set yet), and whether it is stored.
        bool nextKept = false;
        bool stored = false;
    };
    // Finds the frame's block, or −1 past the blocks while the scan goes on; nothing when the
    // frame is not in the video.
    std::optional<Placed> place(int frame, CachingJob& job) const;
    // The frame once it is stored, waiting until `deadline`; null when it does not come (it
    // cannot be decoded, no worker runs, or the deadline passed: then it is noted as waited
    // for). A frame the budget narrowed the window past is asked for again, once, through
    // `askAgain`, called without the lock.
    video::FrameRef awaitFrame(const CachingJob& asked, Deadline deadline,
                               const std::function<bool()>& working,
                               const std::function<bool(const CachingJob&)>& askAgain);

    // The stored frame nearest to `frame` (the earlier of two as near); −1 and null for none.
    std::pair<int, video::FrameRef> nearestStored(int frame) const;
    video::CachedFrames cachedFrames() const;
    int endedEarlyAt() const;
    bool lostToEarlyEnd(int frame) const;
    // Whether the file is open with every frame known.
    bool openAndListed() const;

    // For ranking the worker's job: whether its frame, or the frame shown within the window, is
    // awaited; and the first frame lacking in the first block of the window, in the worker's
    // order, that still lacks frames (−1 for none).
    struct Lack {
        bool awaited = false;
        int firstLacking = -1;
    };
    Lack lackFor(const CachingJob& job) const;
    // Whether the slot of the block holds a frame.
    bool holds(int block, int slot) const;

    // The worker's side, holding the open video's lock.
    // Sets the window around the job, handing back what left it, and gives the blocks to fill;
    // false when the job's frame is in none.
    bool setWindow(const CachingJob& job, std::vector<int>& activeBlocks, Frames& evicted);
    bool lacksFrames(int block) const;
    // Makes the slots of blocks firstBlock to lastBlock (whose first frame is `firstFrame`) and
    // gives the frames of the window they still lack, forgetting that those failed.
    std::vector<bool> startRun(int firstBlock, int lastBlock, int firstFrame);
    // Whether the window still holds a frame of the run that is wanted and not stored.
    bool lacksWindowFrames(int firstBlock, int lastBlock, const std::vector<bool>& wanted) const;
    void noteEndedEarly(int frame);
    // After a run: when `whole`, notes the wanted frames it did not deliver; drops the blocks it
    // stored nothing of. True when that settles the frame of a late wait.
    bool settleRun(int firstBlock, int lastBlock, const std::vector<bool>& wanted, bool whole);
    // What a frame about to be stored is for: empty when the window no longer holds it, true when
    // it is one a refresh shows or is about to (the frame shown or wanted, or the one after
    // either).
    std::optional<bool> neededOnScreen(int frame) const;
    // Puts a finished frame into its slot, handing back in `image` what the slot held; null
    // records the frame as failed (no memory for it). True when that settles a late wait.
    bool storeFrame(int block, int slot, video::FrameRef& image);
    // Puts the frame into its slot as storeFrame does: false, leaving `image` as it was, when the
    // slot is not in the store.
    bool putFrame(int block, int slot, video::FrameRef& image);
    // Takes the first frame of each block, then the frame count, from a listing.
    void setBlockStarts(const std::vector<int>& starts);
    // A frame the budget has no room for: the window narrows past it, so that it is neither
    // asked for again in this pass nor waited for. The frame asked for fails instead.
    void keepOutOfWindow(int frame);
    // The scan settled more blocks of the source (renumbering them all, or finishing):
    // `servedBlock` is the block of the job served last (−1 for none).
    struct ScanSettled {
        bool late = false;
        // The window served ended at the last block settled before.
        bool windowCut = false;
        Frames dropped;
    };
    ScanSettled settleScan(const video::VideoSource& source, bool renumbered, bool complete,
                           int servedBlock);
    // Finds the block of the job's frame; false when there is none yet, `pending` telling
    // whether the scan may still settle one.
    bool locate(CachingJob& job, bool& pending) const;

    // Gives up spare buffers, else the stored frame farthest from the one the window was set
    // around, never one needed on screen; false when there is neither.
    bool giveUpFarthest();
    // Wakes every wait, once whoever is between looking and waiting has begun to wait.
    void wakeWaits();
    // Has the waits look again: a pass ended, maybe without the frame waited for.
    void notifyAll() { changed_.notify_all(); }

private:
    void copyBlockStarts(const std::vector<int>& starts);
    bool placeFrame(int block, int slot, video::FrameRef& image);
    bool slotStored(int block, int slot) const;
    int firstLackingFrame(int block) const;
    // Narrows the window past a frame the budget has no room for; the frame asked for fails
    // instead. The lock held.
    void narrowPast(int frame);
    int heldEndedEarlyAt() const;
    decode::TexelFormat heldTexelFormat() const;
    Frames takeAllFrames();
    // Whether the frame is the one the drawing thread stopped waiting for, which is now settled;
    // the wait is then forgotten.
    bool settlesLateWait(int frame);
    bool awaitSettledBlock(CachingJob& job, std::unique_lock<std::mutex>& lock, Deadline deadline,
                           const std::function<bool()>& working);

    mutable std::mutex mutex_;
    // With mutex_: a frame was stored, frames were found undecodable, the window changed, a file
    // was opened or found unplayable, or the worker is to stop.
    std::condition_variable changed_;
    Contents contents_;
    std::atomic<int> divisor_{1};
    const std::shared_ptr<FrameBufferPool> frameBuffers_;
};
