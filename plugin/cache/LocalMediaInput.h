#pragma once

#include "cache/FfmpegPointers.h"

#include <string>

namespace video {

// Opens a media file as a plain local file: only regular files, only the `file` protocol, and
// only container formats that read nothing but that one file (no playlists, concat lists or
// file-name patterns), so a file's content cannot lead FFmpeg to the network or to other files.
// Returns null when the path is refused or cannot be opened.
FormatContextPtr openLocalMedia(const std::string& path);

}  // namespace video
