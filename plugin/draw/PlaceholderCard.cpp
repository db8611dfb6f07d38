#include "draw/PlaceholderCard.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned char kGrey[4] = {40, 40, 40, 255};
constexpr unsigned char kRed[4] = {200, 32, 32, 255};
// Lines are this many texels wide: thin on a plane filling the view, yet not lost when the view
// shows the plane small.
constexpr int kLineWidth = 2;

void paint(std::vector<unsigned char>& pixels, int width, int x, int y,
           const unsigned char (&colour)[4]) {
    std::copy(colour, colour + 4, pixels.begin() + (static_cast<size_t>(y) * width + x) * 4);
}

}  // namespace

LoadedMedium cardShape(const LoadedMedium& medium) {
    if (medium.frameWidth <= 0 || medium.frameHeight <= 0) {
        return LoadedMedium{kCardLongSide, kCardLongSide, AVRational{1, 1}, 0};
    }
    const double ratio = static_cast<double>(medium.frameWidth) / medium.frameHeight;
    const auto shortSide = [](double length) {
        return std::max(1, static_cast<int>(std::lround(length)));
    };
    LoadedMedium card{kCardLongSide, kCardLongSide, medium.pixelAspect, 0};
    if (ratio >= 1.0) {
        card.frameHeight = shortSide(kCardLongSide / ratio);
    } else {
        card.frameWidth = shortSide(kCardLongSide * ratio);
    }
    return card;
}

std::vector<unsigned char> cardPixels(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    // Texels from the diagonal through (0, 0) and (width, height), per unit of u - v; likewise
    // for the other diagonal and u + v - 1.
    const double acrossDiagonal = static_cast<double>(width) * height / std::hypot(width, height);
    const double halfLine = kLineWidth / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool border = x < kLineWidth || y < kLineWidth || x >= width - kLineWidth ||
                                y >= height - kLineWidth;
            const double u = (x + 0.5) / width;
            const double v = (y + 0.5) / height;
            const bool cross = std::abs(u - v) * acrossDiagonal < halfLine ||
                               std::abs(u + v - 1.0) * acrossDiagonal < halfLine;
            paint(pixels, width, x, y, border || cross ? kRed : kGrey);
        }
    }
    return pixels;
}
