#pragma once

#include <vector>

namespace video {

// Positions of a window of `length` entries in the order the caching worker visits them: the
// centre first, then alternately one further forward and one further back.
std::vector<int> windowVisitingOrder(int length);

}  // namespace video
