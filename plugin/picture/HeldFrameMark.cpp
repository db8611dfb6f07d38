#include "picture/HeldFrameMark.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace video {
namespace {

void paintRed(unsigned char* row, int from, int to) {
    for (int x = from; x <= to; ++x) {
        unsigned char* pixel = row + static_cast<std::ptrdiff_t>(x) * 4;
        pixel[0] = 255;
        pixel[1] = 0;
        pixel[2] = 0;
        pixel[3] = 255;
    }
}

}  // namespace

void drawHeldFrameMark(unsigned char* rgba, int width, int height) {
    if (rgba == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const double thickness = std::max(2.0, std::min(width, height) / 40.0);
    // Along a row, a line of that thickness across the diagonal covers this many pixels.
    const double halfSpan =
        thickness / 2.0 * std::hypot(static_cast<double>(width), height) / height;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = rgba + static_cast<std::ptrdiff_t>(y) * width * 4;
        const double centre = (y + 0.5) * width / height;
        for (double diagonal : {centre, width - centre}) {
            const int from = std::max(0, static_cast<int>(std::lround(diagonal - halfSpan)));
            const int to =
                std::min(width - 1, static_cast<int>(std::lround(diagonal + halfSpan)) - 1);
            paintRed(row, from, to);
        }
    }
}

}  // namespace video
