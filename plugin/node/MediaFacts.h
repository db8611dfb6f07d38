#pragma once

#include <atomic>

// The reloads asked for a node (cineSheetReload), counted, for its draw override to carry out.
class MediaFacts {
public:
    void requestReload() { ++reloads_; }
    unsigned reloadsRequested() const { return reloads_.load(); }

private:
    std::atomic<unsigned> reloads_{0};
};
