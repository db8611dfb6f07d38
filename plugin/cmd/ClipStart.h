#pragma once

#include <maya/MString.h>

#include <optional>

// Where a clip's first picture lands on the timeline. The node shows a video's picture p at scene
// frame p + frameOffset and a sequence's file n at frame n + frameOffset, so placing the first
// picture at frame N is setting frameOffset to N minus the first picture's number.
class ClipStart {
public:
    // The footage at a resolved path: its first picture's number is 0 for a video, the first
    // file's number for a numbered sequence with files on disk; unknown otherwise (a still, or a
    // sequence none of whose files is there).
    explicit ClipStart(const MString& resolvedPath);

    bool known() const { return firstPicture_.has_value(); }
    // The frame the first picture lands on without being asked: the start of the playback range
    // for a video (Maya's timeline starts at 1, plates at 1001), the file's own number for a
    // sequence.
    int defaultStart() const;
    // The frameOffset that puts the first picture at `start`; 0 when the first picture is unknown.
    int offsetFor(int start) const;
    // The frame the first picture lands on under `frameOffset`.
    int startUnder(int frameOffset) const;

    // The error when a start frame is asked of footage whose first picture is unknown.
    static MString cannotPlace(const MString& file);

private:
    bool video_ = false;
    std::optional<int> firstPicture_;
};
