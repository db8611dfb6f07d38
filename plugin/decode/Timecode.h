#pragma once

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

namespace decode {

// The timecode a file gives its first picture ("01:00:00:00", ";" before the frames when drop
// frame): the video stream's tag, else the file's, else a timecode track's (QuickTime "tmcd");
// empty when it has none.
std::string startTimecode(const AVFormatContext& input, int videoStream);

// The timecode of picture `frame` (from 0) of a clip starting at `start` and playing `rate`
// frames per second; empty when `start` is empty or not a timecode at that rate.
std::string timecodeAt(const std::string& start, double rate, int frame);

}  // namespace decode
