#pragma once

#include <string>

namespace video {

// What is wrong with a file that could not be opened as a video, told from its content alone
// (its name's extension aside): "is empty" for a file of no bytes, "is not a media file" for
// content no demuxer recognises (a text named .mov), what it holds for media no video is read
// from (a PNG or a WAV named .mov); "" when the content looks like a video, or the file cannot be
// read, and FFmpeg's own error says more.
std::string mediaContentProblem(const std::string& path);

// The codec of the lone picture a file holds, in capitals ("PNG"); "" when its content is not a
// lone picture FFmpeg recognises, or the file cannot be read.
std::string pictureContent(const std::string& path);

}  // namespace video
