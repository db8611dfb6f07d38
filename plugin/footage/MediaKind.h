#pragma once

#include <string>

// True when the path is longer than four characters and names a video file by its extension
// (".mp4", ".mov", ".avi", ".3gp", ".mkv", ".webm", ".mpeg", ".flv", ".mpg", ".m4v", ".ts",
// ".mts", ".m2ts", ".mxf", ".wmv", ".ogv", ".y4m", in any case); anything else is an image or
// image sequence.
bool isVideoPath(const std::string& path);
