#include "tasks/ThreadCount.h"

#include <thread>

namespace host {

std::size_t logicalCores() {
    const unsigned int cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

}  // namespace host
