#include "cache/WorkerThreads.h"

#include <system_error>

namespace video {

WorkerThreads::~WorkerThreads() {
    join();
}

int WorkerThreads::start(int count, const std::function<void()>& body) {
    if (startTried_) {
        return this->count();
    }
    startTried_ = true;
    for (int thread = 0; thread < count; ++thread) {
        try {
            threads_.emplace_back(body);
        } catch (const std::system_error&) {
            break;
        }
    }
    return this->count();
}

void WorkerThreads::stopAndJoin(const std::function<void()>& stop) {
    stop();
    join();
}

void WorkerThreads::join() {
    for (std::thread& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}

}  // namespace video
