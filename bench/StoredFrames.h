#pragma once

#include "VideoCacheInternals.h"
#include "draw/Footage.h"

#include <algorithm>
#include <cstddef>
#include <mutex>

// How many frames a node's cache holds now.
inline std::size_t storedFrames(Footage& sheet) {
    const std::lock_guard<std::mutex> lock(cacheOf(sheet).storeMutex);
    std::size_t stored = 0;
    for (const auto& block : cacheOf(sheet).blocks) {
        stored += static_cast<std::size_t>(
            std::count_if(block.second.begin(), block.second.end(),
                          [](const auto& frame) { return frame != nullptr; }));
    }
    return stored;
}
