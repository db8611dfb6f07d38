#pragma once

#include <functional>
#include <vector>

namespace video {

// Threads a long conversion may share out its work to: those of the process's decoding pool that
// have nothing else to do at the moment.
class SpareThreads {
public:
    virtual ~SpareThreads() = default;
    // How many threads would take up a task now; 0 when every one is busy.
    virtual int idleThreads() const = 0;
    // Runs the tasks side by side on the calling thread and on threads free to take them, and
    // returns when all are done; tasks no other thread took run on the calling thread.
    virtual void runTogether(const std::vector<std::function<void()>>& tasks) = 0;
};

}  // namespace video
