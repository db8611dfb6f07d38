#pragma once

#include "picture/Orientation.h"

#include <cstdint>

namespace video {

// A decoded frame converted to packed RGB24 (3 bytes per pixel, rows `linesize` bytes apart), as
// stored, with the turn that shows it upright.
struct RgbPicture {
    const uint8_t* data = nullptr;
    int linesize = 0;
    int width = 0;
    int height = 0;
    Orientation orientation;
};

}  // namespace video
