#pragma once

#include <maya/MString.h>

// True when the path names a video file by its extension (".mp4", ".mov", ".avi", ".3gp",
// ".mkv", ".webm", ".mpeg", ".flv", in any case); anything else is an image or image sequence.
bool isVideoPath(const MString& path);
