#include "picture/CacheImage.h"

#include <algorithm>

namespace video {

int reducedSize(int size, int divisor) {
    return std::max(1, size / divisor);
}

size_t cacheImageBytes(int width, int height, int divisor) {
    const size_t fromFullSize = static_cast<size_t>(width) * static_cast<size_t>(height) * 4 /
                                static_cast<size_t>(divisor * divisor);
    const size_t reduced = static_cast<size_t>(reducedSize(width, divisor)) *
                           static_cast<size_t>(reducedSize(height, divisor)) * 4;
    return std::max(fromFullSize, reduced);
}

bool cacheImagePossible(const RgbPicture& picture, int divisor) {
    return (divisor == 1 || divisor == 2 || divisor == 4) && picture.data && picture.width > 0 &&
           picture.height > 0;
}

void fillCacheImage(const RgbPicture& picture, int divisor, unsigned char* image) {
    const Orientation& turn = picture.orientation;
    const int outWidth = reducedSize(turn.uprightWidth(picture.width, picture.height), divisor);
    const int outHeight = reducedSize(turn.uprightHeight(picture.width, picture.height), divisor);
    // Every divisor-th pixel of every divisor-th row of the upright picture.
    UprightWalk walk = uprightWalk(turn, picture.width, picture.height, 3, picture.linesize);
    walk.alongRow *= divisor;
    walk.downColumn *= divisor;
    visitUpright(walk, outWidth, outHeight, turn.swapsAxes(), [&](int x, int y, ptrdiff_t offset) {
        const uint8_t* in = picture.data + offset;
        unsigned char* out = image + (static_cast<size_t>(y) * outWidth + x) * 4;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 255;
    });
}

}  // namespace video
