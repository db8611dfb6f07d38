#pragma once

#include <host/RgbaPicture.h>

#include <string>

namespace host {

// Decodes the first picture of a still-image file into RGBA. Only FFmpeg's still-image
// demuxers are accepted, so that text, audio or video files are refused, not misread.
bool decodeImageFile(const std::string& path, RgbaPicture& picture);

}  // namespace host
