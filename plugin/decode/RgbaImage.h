#pragma once

#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

namespace decode {

// A picture as 8-bit RGBA, rows packed, top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::size_t bytes() const { return pixels.size(); }
};

// Converts a decoded picture to 8-bit RGBA as the ffmpeg tool's `-pix_fmt rgba` does for a still
// image of the same size. False, with the image emptied, when it cannot.
bool convertToRgba8(const AVFrame& picture, RgbaImage& image);

}  // namespace decode
