#pragma once

#include "footage/Footage.h"

#include <algorithm>
#include <cstddef>

// How many frames a node's cache holds now.
inline std::size_t storedFrames(Footage& sheet) {
    return sheet.video().store().read([](const FrameStore::Contents& store) {
        std::size_t stored = 0;
        for (const auto& block : store.blocks) {
            stored += static_cast<std::size_t>(
                std::count_if(block.second.begin(), block.second.end(),
                              [](const auto& frame) { return frame != nullptr; }));
        }
        return stored;
    });
}
