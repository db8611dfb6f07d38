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

bool& processed() {
    static bool runs = true;
    return runs;
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

bool idleEventsProcessed() {
    return processed();
}

void setIdleEventsProcessed(bool processed) {
    // Idle events, and the work queued for them, do not exist in Maya's batch mode (scriptJob
    // page: script jobs "do not exist" in batch; MPxThreadedDeviceNode.h: nodes relying on the
    // idle event queue do not work in batch).
    // https://download.autodesk.com/global/docs/maya2013/en_US/Commands/scriptJob.html
    host::processed() = processed;
}

}  // namespace host
