#pragma once

#include <functional>
#include <thread>
#include <vector>

namespace video {

// The background threads of one cache. They are plain threads of the process, not tasks on the
// host's pool: a worker sleeps for its cache's whole life, and a pool thread parked that long is
// taken from the host's own parallel work. The owner starts them when it first has work, asks
// them to end through its own state, then joins them before anything they use is freed.
class WorkerThreads {
public:
    WorkerThreads() = default;
    // Joins what still runs: the owner must have asked its threads to end.
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Starts `count` threads running `body`, once; later calls do nothing. Returns how many
    // threads run (fewer than asked, even none, when the system has no more to give).
    int start(int count, const std::function<void()>& body);
    bool started() const { return !threads_.empty(); }
    int count() const { return static_cast<int>(threads_.size()); }

    // Runs `stop` (which tells the threads to end), then waits for every thread to return.
    void stopAndJoin(const std::function<void()>& stop);

private:
    void join();

    bool startTried_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace video
