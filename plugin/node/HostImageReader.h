#pragma once

#include "picture/RgbaImage.h"

#include <string>

namespace video {

// Reads the file through the host's image reader (MImage), for formats FFmpeg does not read:
// Maya's reader knows formats of its own and those of image plug-ins. Maya's API is
// single-threaded, so this is for the main thread only. False, with the image emptied, when the
// host cannot read it either.
bool readWithHostReader(const std::string& path, decode::RgbaImage& image);

// Copies 4-byte pixels held bottom row first, as the host's images are, into `image` top row
// first, turning BGRA into RGBA when `rgbaOrder` is false.
void copyHostPixels(const unsigned char* pixels, int width, int height, bool rgbaOrder,
                    decode::RgbaImage& image);

}  // namespace video
