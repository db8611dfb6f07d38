#pragma once

#include <cstddef>

namespace host {

// The number of logical processors, Maya's default thread count; at least 1.
std::size_t logicalCores();

}  // namespace host
