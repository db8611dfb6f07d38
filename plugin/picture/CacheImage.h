#pragma once

#include "picture/RgbPicture.h"

#include <cstddef>

namespace video {

// Pixels across a side of width or height `size` at 1/divisor: at least one, so that a tiny
// picture never vanishes.
int reducedSize(int size, int divisor);

// Bytes of one cached frame: width × height × 4 / divisor², or more when that is too few for
// the reducedSize(width) × reducedSize(height) RGBA pixels it holds.
size_t cacheImageBytes(int width, int height, int divisor);

// Whether the picture has pixels and the divisor is 1, 2 or 4.
bool cacheImagePossible(const RgbPicture& picture, int divisor);

// Turns a full-size RGB24 picture upright and reduces it to RGBA at 1/divisor of its size by
// point sampling (the top-left pixel of each divisor × divisor cell of the upright picture;
// leftover columns and rows dropped, but never the first), alpha 255, rows packed, into `image`,
// which holds cacheImageBytes bytes (the same for either shape). The reduction must be possible.
void fillCacheImage(const RgbPicture& picture, int divisor, unsigned char* image);

}  // namespace video
