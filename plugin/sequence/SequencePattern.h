#pragma once

#include "cache/FrameWindow.h"

#include <optional>
#include <string>

namespace video {

// The path of a numbered image sequence. The frame number's place is marked in the file name, never
// in a folder name, in one of three ways, the first found counting:
//   - "%04d" or "%d", as Nuke and FFmpeg write it: zero-padded to the given width, or unpadded;
//   - the longest run of '#', zero-padded to the run's length;
//   - the longest run of '@' with no letter or digit right before or after it, the same way.
// Every mark equal to the one found takes the number (shorter runs are literal text); a number
// longer than the padding is written whole. A path with no mark in its file name, or naming a
// file that is there as it is written, marks and all, names one image shown at every frame.
class SequencePattern {
public:
    SequencePattern() = default;
    explicit SequencePattern(std::string pattern);

    const std::string& text() const { return pattern_; }
    bool numbered() const { return !mark_.empty(); }
    std::string fileOf(int frame) const;
    // The first and last frame numbers of the files named by the pattern in its folder; none
    // when there are none, for an unnumbered path, or when the mark is in the name more than once.
    std::optional<FrameWindow> framesOnDisk() const;
    // The frame on disk nearest before `frame`, else the nearest after it; none when no file of
    // the sequence other than the frame's own is there.
    std::optional<int> heldFrameFor(int frame) const;

private:
    // Calls `found` with the number of each file of the sequence in its folder; false when the
    // folder cannot be looked through that way.
    template <typename Found>
    bool forEachFrameOnDisk(Found found) const;

    std::string pattern_;
    // Where the file name starts, and the text in it that stands for the frame number.
    size_t nameStart_ = 0;
    std::string mark_;
    size_t width_ = 0;
};

}  // namespace video
