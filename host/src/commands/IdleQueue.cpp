#include <host/IdleQueue.h>

#include <deque>
#include <mutex>
#include <utility>

namespace host {
namespace {

std::mutex& queueMutex() {
    static std::mutex mutex;
    return mutex;
}

std::deque<std::function<void()>>& queue() {
    static std::deque<std::function<void()>> works;
    return works;
}

}  // namespace

void queueIdleWork(std::function<void()> work) {
    std::lock_guard<std::mutex> lock(queueMutex());
    queue().push_back(std::move(work));
}

void runIdleQueue() {
    std::deque<std::function<void()>> due;
    {
        std::lock_guard<std::mutex> lock(queueMutex());
        due.swap(queue());
    }
    for (std::function<void()>& work : due) {
        work();
    }
}

std::size_t idleQueueLength() {
    std::lock_guard<std::mutex> lock(queueMutex());
    return queue().size();
}

}  // namespace host
