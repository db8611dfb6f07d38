#include "cache/DecodingPool.h"

#include "decode/DecoderThreads.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace video {

// Tasks of one runTogether call; guarded by the pool's lock.
struct DecodingPool::Shared {
    const std::vector<std::function<void()>>* tasks = nullptr;
    size_t next = 0;
    size_t running = 0;
};

DecodingPool::DecodingPool(int threads) : threadCount_(std::max(threads, 1)) {}

DecodingPool::~DecodingPool() {
    shutdown();
}

DecodingPool& DecodingPool::instance() {
    static DecodingPool pool(threadCountFor(std::getenv("CINESHEET_DECODER_THREADS")));
    return pool;
}

int DecodingPool::threadCountFor(const char* setting) {
    const int chosen = decoderThreadCount(setting);
    return chosen > 0 ? chosen : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

void DecodingPool::enrol(PoolClient* client) {
    const std::lock_guard<std::mutex> lock(mutex_);
    clients_.push_back(Enrolled{client, 0, false});
}

void DecodingPool::leave(PoolClient* client) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto found = std::find_if(clients_.begin(), clients_.end(), [client](const Enrolled& enrolled) {
        return enrolled.client == client;
    });
    if (found == clients_.end()) {
        return;
    }
    found->leaving = true;
    workEnded_.wait(lock, [&found] { return found->running == 0; });
    clients_.erase(found);
}

void DecodingPool::wake() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!threads_ && !stopping_) {
            threads_ = std::make_unique<WorkerThreads>();
            running_ = threads_->start(threadCount_, [this] { serve(); }) > 0;
        }
    }
    workChanged_.notify_all();
}

bool DecodingPool::outranked(const Urgency& urgency) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (idle_ > 0) {
        return false;
    }
    std::optional<Urgency> waiting;
    if (mostUrgent(waiting) == nullptr) {
        return false;
    }
    return waiting->outranks(urgency);
}

void DecodingPool::runTogether(const std::vector<std::function<void()>>& tasks) {
    auto shared = std::make_shared<Shared>();
    shared->tasks = &tasks;
    std::unique_lock<std::mutex> lock(mutex_);
    shared_.push_back(shared);
    workChanged_.notify_all();
    while (shared->next < tasks.size()) {
        const size_t task = shared->next++;
        ++shared->running;
        lock.unlock();
        tasks[task]();
        lock.lock();
        --shared->running;
    }
    shared_.erase(std::remove(shared_.begin(), shared_.end(), shared), shared_.end());
    workEnded_.wait(lock, [&shared] { return shared->running == 0; });
}

int DecodingPool::idleThreads() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return idle_;
}

int DecodingPool::takeDecoderSeat() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const bool alone = seats_++ == 0;
    return alone && threadCount_ > 1 ? threadCount_ + 1 : 1;
}

void DecodingPool::leaveDecoderSeat() {
    const std::lock_guard<std::mutex> lock(mutex_);
    --seats_;
}

void DecodingPool::shutdown() {
    std::unique_ptr<WorkerThreads> threads;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!threads_) {
            return;
        }
        stopping_ = true;
        running_ = false;
        threads = std::move(threads_);
    }
    threads->stopAndJoin([this] { workChanged_.notify_all(); });
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
}

void DecodingPool::serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (takeSharedTask(lock)) {
            continue;
        }
        std::optional<Urgency> urgency;
        Enrolled* chosen = mostUrgent(urgency);
        if (!chosen) {
            // Looked at again now and then: work also comes of time passing (a node not drawn
            // for a while lets its decoder go).
            ++idle_;
            workChanged_.wait_for(lock, std::chrono::seconds(5));
            --idle_;
            continue;
        }
        ++chosen->running;
        lock.unlock();
        chosen->client->runWork();
        lock.lock();
        --chosen->running;
        workEnded_.notify_all();
        // The client may have more work than its places let this thread take.
        workChanged_.notify_one();
    }
}

DecodingPool::Enrolled* DecodingPool::mostUrgent(std::optional<Urgency>& urgency) {
    Enrolled* chosen = nullptr;
    for (Enrolled& enrolled : clients_) {
        if (enrolled.leaving || enrolled.running >= enrolled.client->parallelism()) {
            continue;
        }
        const std::optional<Urgency> next = enrolled.client->nextWork();
        if (next && (!urgency || *next < *urgency)) {
            urgency = next;
            chosen = &enrolled;
        }
    }
    return chosen;
}

bool DecodingPool::takeSharedTask(std::unique_lock<std::mutex>& lock) {
    for (const std::shared_ptr<Shared>& shared : shared_) {
        if (shared->next >= shared->tasks->size()) {
            continue;
        }
        const std::shared_ptr<Shared> taken = shared;
        const size_t task = taken->next++;
        ++taken->running;
        lock.unlock();
        (*taken->tasks)[task]();
        lock.lock();
        --taken->running;
        workEnded_.notify_all();
        return true;
    }
    return false;
}

}  // namespace video
