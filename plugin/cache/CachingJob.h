#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whether the value is in the list (the lists of frames and blocks are a window's worth at most).
inline bool listed(const std::vector<int>& values, int value) {
    for (unsigned int i = 0; i < values.size(); ++i) {
        if (values[i] == value) {
            return true;
        }
    }
    return false;
}

// A request for the caching worker: the wanted frame, how many frames to keep around it, and
// where the frame lies. All −1 until filled.
struct CachingJob {
    int32_t frame = -1;
    int32_t windowFrames = -1;
    int32_t block = -1;
    int32_t frameInBlock = -1;
};

// A file for the worker to open; the generation tells a request from the ones before it.
struct OpenRequest {
    std::string path;
    long generation = 0;
};
