#pragma once

#include <cstddef>

// What the tests can see of the thread pool behind MThreadAsync (its size is set with
// threadCount -n).
namespace host {

// Tasks queued that have not started because every thread the pool may use is busy.
std::size_t waitingTasks();

}  // namespace host
