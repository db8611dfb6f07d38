#pragma once

#include <maya/MDagPath.h>
#include <maya/MStatus.h>

#include <string>
#include <vector>

// Rendering a range of frames through a camera into numbered PNG files.
namespace host {

struct PlayblastSettings {
    // First and last frame, both played, in the UI time unit; one frame apart.
    double startFrame = 0;
    double endFrame = 0;
    MDagPath camera;
    int width = 0;
    int height = 0;
    // Files are named prefix.<frame>.png, the frame number zero-padded to framePadding digits.
    std::string prefix;
    int framePadding = 4;
};

// "prefix.0012.png" for frame 12 with padding 4.
std::string playblastFramePath(const std::string& prefix, int frame, int padding);
// "prefix.####.png": the pattern the files of a playblast follow.
std::string playblastPattern(const std::string& prefix, int padding);

// Sets each frame as the current time, refreshes, renders through the camera and writes the
// file, printing a progress line per frame and a timing line at the end on standard error.
// The current time is put back afterwards, also after a failure. `files` receives the paths
// written, in order.
MStatus playblast(const PlayblastSettings& settings, std::vector<std::string>& files);

}  // namespace host
