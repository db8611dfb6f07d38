#pragma once

#include <optional>
#include <string>

namespace video {

// What an artist lays a video out by: its pictures as the plug-in numbers them, its rate, and
// the timecode of its first picture ("" when it has none).
struct ClipFacts {
    int frameCount = 0;
    double frameRate = 0.0;
    std::string startTimecode;
};

// The facts of the video at `path`; none when it cannot be opened as one.
std::optional<ClipFacts> readClipFacts(const std::string& path);

}  // namespace video
