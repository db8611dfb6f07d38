#pragma once

#include <atomic>
#include <mutex>
#include <string>

// The keyframe interval of a node's footage, known only once its video has been looked through.
// The draw override records it; the node's compute reads it for the file it shows. And the
// reloads asked for the node (cineSheetReload), counted, for the draw override to carry out.
class MediaFacts {
public:
    void requestReload() { ++reloads_; }
    unsigned reloadsRequested() const { return reloads_.load(); }

    void recordKeyframeInterval(const std::string& path, int interval) {
        const std::lock_guard<std::mutex> lock(mutex_);
        path_ = path;
        keyframeInterval_ = interval;
    }
    // 0 while the file at `path` has not been looked through.
    int keyframeInterval(const std::string& path) const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return path == path_ ? keyframeInterval_ : 0;
    }

private:
    mutable std::mutex mutex_;
    std::string path_;
    int keyframeInterval_ = 0;
    std::atomic<unsigned> reloads_{0};
};
