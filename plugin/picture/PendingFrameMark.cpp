#include "picture/PendingFrameMark.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace video {
namespace {

// Opaque orange as one texel of each format (binary16 1.0 is 0x3C00, 0.5 is 0x3800).
constexpr unsigned char kOrange8[4] = {255, 128, 0, 255};
constexpr uint16_t kOrangeHalf[4] = {0x3C00, 0x3800, 0, 0x3C00};

}  // namespace

void drawPendingFrameMark(unsigned char* rgba, int width, int height, decode::TexelFormat format) {
    if (rgba == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const int side = std::min({width, height, std::max(4, std::min(width, height) / 12)});
    const std::size_t texelBytes = decode::bytesPerTexel(format);
    const void* orange = format == decode::TexelFormat::kRgbaHalf
                             ? static_cast<const void*>(kOrangeHalf)
                             : static_cast<const void*>(kOrange8);
    // Row y holds side − y texels of the triangle, against the right edge.
    for (int y = 0; y < side; ++y) {
        unsigned char* row =
            rgba + static_cast<std::ptrdiff_t>(y) * width * static_cast<std::ptrdiff_t>(texelBytes);
        for (int x = width - (side - y); x < width; ++x) {
            std::memcpy(row + static_cast<std::ptrdiff_t>(x) * texelBytes, orange, texelBytes);
        }
    }
}

}  // namespace video
