#pragma once

#include <string>

namespace video {

// What is wrong with a file FFmpeg could not open, told from its content alone (its name's
// extension aside): "is empty" for a file of no bytes, "is not a media file" for content no
// demuxer recognises (a text named .mov); "" when the content looks like media, or the file
// cannot be read, and FFmpeg's own error says more.
std::string mediaContentProblem(const std::string& path);

}  // namespace video
