#include "picture/HeldFrameMark.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace video {
namespace {

// Opaque red as one texel of each format (binary16 1.0 is 0x3C00).
constexpr unsigned char kRed8[4] = {255, 0, 0, 255};
constexpr uint16_t kRedHalf[4] = {0x3C00, 0, 0, 0x3C00};

void paintRed(unsigned char* row, int from, int to, decode::TexelFormat format) {
    const std::size_t texelBytes = decode::bytesPerTexel(format);
    const void* red = format == decode::TexelFormat::kRgbaHalf ? static_cast<const void*>(kRedHalf)
                                                               : static_cast<const void*>(kRed8);
    for (int x = from; x <= to; ++x) {
        std::memcpy(row + static_cast<std::ptrdiff_t>(x) * texelBytes, red, texelBytes);
    }
}

}  // namespace

void drawHeldFrameMark(unsigned char* rgba, int width, int height, decode::TexelFormat format) {
    if (rgba == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const double thickness = std::max(2.0, std::min(width, height) / 40.0);
    // Along a row, a line of that thickness across the diagonal covers this many pixels.
    const double halfSpan =
        thickness / 2.0 * std::hypot(static_cast<double>(width), height) / height;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = rgba + static_cast<std::ptrdiff_t>(y) * width *
                                        static_cast<std::ptrdiff_t>(decode::bytesPerTexel(format));
        const double centre = (y + 0.5) * width / height;
        for (double diagonal : {centre, width - centre}) {
            const int from = std::max(0, static_cast<int>(std::lround(diagonal - halfSpan)));
            const int to =
                std::min(width - 1, static_cast<int>(std::lround(diagonal + halfSpan)) - 1);
            paintRed(row, from, to, format);
        }
    }
}

}  // namespace video
