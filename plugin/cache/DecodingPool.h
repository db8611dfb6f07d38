#pragma once

#include "cache/WorkerThreads.h"
#include "picture/SpareThreads.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <vector>

namespace video {

// How urgent a piece of work is; the lower sorts first. A frame a refresh waits for (or a file it
// waits to open) comes before everything; then the frames nearest each node's shown frame, those
// ahead in its direction of play counting as nearer; nodes not drawn lately come last.
struct Urgency {
    enum Level { kAwaited = 0, kAhead = 1, kUndrawn = 2 };
    int level = kAhead;
    long long distance = 0;

    bool operator<(const Urgency& other) const {
        return std::tie(level, distance) < std::tie(other.level, other.distance);
    }
    // Whether this waiting work should take the thread of the `running` work. Look-ahead nearer
    // by a few frames only waits: passes of equally placed nodes then take turns in runs of
    // frames, not a frame each. Distances are never negative and may be the largest value (no
    // distance known), so they are compared without adding to them.
    bool outranks(const Urgency& running) const {
        constexpr long long kTurnFrames = 8;
        return level < running.level ||
               (level == running.level && distance < running.distance &&
                running.distance - distance > kTurnFrames);
    }
};

// A cache served by the pool: it tells what it would do next and how urgent that is, and does it
// when asked, one piece at a time (an open, a run of blocks, one image), so that more urgent work
// of another cache gets the next free thread.
class PoolClient {
public:
    virtual ~PoolClient() = default;
    // The urgency of the client's next piece of work; none when it has none. Asked with the pool's
    // lock held: it may take the client's own locks, never call the pool.
    virtual std::optional<Urgency> nextWork() = 0;
    // Does the next piece of work, on a thread of the pool.
    virtual void runWork() = 0;
    // How many pieces of work of this client may run at once.
    virtual int parallelism() const { return 1; }
};

// The one pool of decoding threads of the process, serving every node's caches by urgency. Its
// threads are plain threads of the plug-in, not tasks on the host's pool: decoding is long,
// blocking work, which would take the host's threads from its own parallel evaluation. They are
// started when work first comes and joined by `shutdown`, which the plug-in's unloading calls, so
// no thread runs on into an unloaded library. There are as many as the machine has cores, or as
// CINESHEET_DECODER_THREADS says (1 to 64), however many nodes there are.
class DecodingPool : public SpareThreads {
public:
    explicit DecodingPool(int threads);
    ~DecodingPool() override;
    DecodingPool(const DecodingPool&) = delete;
    DecodingPool& operator=(const DecodingPool&) = delete;

    static DecodingPool& instance();
    // The thread count for `setting`, the value of CINESHEET_DECODER_THREADS: a whole number from
    // 1 to 64; unset or anything else gives the machine's core count.
    static int threadCountFor(const char* setting);

    int threadCount() const { return threadCount_; }
    // Whether threads run now. Takes no lock: callers may hold the locks `nextWork` takes.
    bool running() const { return running_; }

    // The client is served from now on, until it leaves.
    void enrol(PoolClient* client);
    // No more of the client's work is started; returns once the work it is doing ends. The
    // client should first make that work end soon.
    void leave(PoolClient* client);
    // A client has new work, or its work became more urgent: starts the threads if need be. Call
    // without holding any lock `nextWork` takes.
    void wake();
    // Whether work more urgent than `urgency` waits for a thread while none is free (look-ahead
    // of the same level only when nearer by more than a few frames): a long piece of work then
    // ends early, and its client comes back to it later.
    bool outranked(const Urgency& urgency);

    // Runs the tasks side by side on this thread and on the pool's free threads, and returns when
    // all are done. Tasks no other thread took are run by the calling thread itself, so that this
    // never waits for a thread to come free. Called from a piece of work on the pool.
    void runTogether(const std::vector<std::function<void()>>& tasks) override;
    // The threads waiting for work now. With many nodes there are none, and a frame's conversion
    // is then not shared out (see BandedScaler).
    int idleThreads() const override;

    // The FFmpeg threads of a video decoder opening now. When no other decoder is open, one more
    // than the pool has threads, as FFmpeg itself chooses for the cores: the pool's thread
    // feeding the decoder mostly waits for its frame threads, so a lone node decodes on every
    // core. Else one: several nodes are decoded side by side on the pool's threads, and the
    // thread count stays flat however many there are. Each seat taken is left when its decoder
    // closes.
    int takeDecoderSeat();
    void leaveDecoderSeat();

    // Ends and joins the threads once their current work is done; the next `wake` starts them
    // again.
    void shutdown();

private:
    struct Enrolled {
        PoolClient* client = nullptr;
        int running = 0;
        bool leaving = false;
    };
    struct Shared;

    void serve();
    // The most urgent client with work and a free place, or null; the pool's lock held.
    Enrolled* mostUrgent(std::optional<Urgency>& urgency);
    bool takeSharedTask(std::unique_lock<std::mutex>& lock);

    const int threadCount_;
    mutable std::mutex mutex_;
    std::condition_variable workChanged_;
    std::condition_variable workEnded_;
    std::list<Enrolled> clients_;
    std::vector<std::shared_ptr<Shared>> shared_;
    int idle_ = 0;
    int seats_ = 0;
    bool stopping_ = false;
    std::atomic<bool> running_{false};
    std::unique_ptr<WorkerThreads> threads_;
};

// A seat of a video decoder in the pool, held while the decoder is open.
class DecoderSeat {
public:
    explicit DecoderSeat(DecodingPool& pool) : pool_(pool), threads_(pool.takeDecoderSeat()) {}
    ~DecoderSeat() { pool_.leaveDecoderSeat(); }
    DecoderSeat(const DecoderSeat&) = delete;
    DecoderSeat& operator=(const DecoderSeat&) = delete;

    int ffmpegThreads() const { return threads_; }

private:
    DecodingPool& pool_;
    const int threads_;
};

}  // namespace video
