#include "cache/CacheImage.h"

#include <cstdlib>

namespace video {

size_t cacheImageBytes(int width, int height, int divisor) {
    return static_cast<size_t>(width) * static_cast<size_t>(height) * 4 /
           static_cast<size_t>(divisor * divisor);
}

bool cacheImagePossible(const RgbPicture& picture, int divisor) {
    return (divisor == 1 || divisor == 2 || divisor == 4) && picture.data && picture.width > 0 &&
           picture.height > 0;
}

void fillCacheImage(const RgbPicture& picture, int divisor, unsigned char* image) {
    const Orientation& turn = picture.orientation;
    const int outWidth = turn.uprightWidth(picture.width, picture.height) / divisor;
    const int outHeight = turn.uprightHeight(picture.width, picture.height) / divisor;
    // Where the upright picture's top-left pixel is stored, and how far apart in the stored
    // bytes the sampled pixels of one upright row and of one upright column are.
    const int firstColumn = turn.columnOfU < 0 || turn.columnOfV < 0 ? picture.width - 1 : 0;
    const int firstRow = turn.rowOfU < 0 || turn.rowOfV < 0 ? picture.height - 1 : 0;
    const ptrdiff_t alongRow = (static_cast<ptrdiff_t>(turn.columnOfU) * 3 +
                                static_cast<ptrdiff_t>(turn.rowOfU) * picture.linesize) *
                               divisor;
    const ptrdiff_t downColumn = (static_cast<ptrdiff_t>(turn.columnOfV) * 3 +
                                  static_cast<ptrdiff_t>(turn.rowOfV) * picture.linesize) *
                                 divisor;
    const uint8_t* origin =
        picture.data + static_cast<ptrdiff_t>(firstRow) * picture.linesize + firstColumn * 3;
    unsigned char* out = image;
    for (int y = 0; y < outHeight; ++y) {
        const uint8_t* row = origin + y * downColumn;
        for (int x = 0; x < outWidth; ++x, out += 4) {
            const uint8_t* in = row + x * alongRow;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 255;
        }
    }
}

unsigned char* makeCacheImage(const RgbPicture& picture, int divisor) {
    if (!cacheImagePossible(picture, divisor)) {
        return nullptr;
    }
    auto* image = static_cast<unsigned char*>(
        std::malloc(cacheImageBytes(picture.width, picture.height, divisor)));
    if (image) {
        fillCacheImage(picture, divisor, image);
    }
    return image;
}

}  // namespace video
