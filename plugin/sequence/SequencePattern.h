#pragma once

#include "cache/FrameWindow.h"

#include <optional>
#include <string>

namespace video {

// The path of a numbered image sequence: the longest run of '#' stands for the frame number,
// zero-padded on the left to the run's length (every run of that length takes it; shorter runs
// are literal text). A path without '#' names one image shown at every frame.
class SequencePattern {
public:
    SequencePattern() = default;
    explicit SequencePattern(std::string pattern);

    const std::string& text() const { return pattern_; }
    bool numbered() const { return runLength_ > 0; }
    std::string fileOf(int frame) const;
    // The first and last frame numbers of the files named by the pattern in its folder; none
    // when there are none, for a path without '#', or when the number is not in the file name
    // alone (a run in a folder name, or several runs).
    std::optional<FrameWindow> framesOnDisk() const;

private:
    std::string pattern_;
    size_t runLength_ = 0;
};

}  // namespace video
