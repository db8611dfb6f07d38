#pragma once

#include "picture/RgbaImage.h"

namespace decode {

// The node's "cacheDepth": how deep the frames of a source with more than 8 bits are kept.
// The values are the attribute's enum values.
enum class CacheDepth {
    kAuto = 0,      // half float for float images, 8 bits for everything else (video too)
    kEightBit = 1,  // 8 bits always
    kHalf = 2,      // half float for every source with more than 8 bits
};

CacheDepth cacheDepthFromAttribute(int value);

// Whether a picture of these samples is kept as half float. 8-bit sources stay 8-bit whatever
// is asked.
bool keptAsHalf(CacheDepth depth, SampleDepth samples);

// How a video whose pictures come in `samples` is kept: half float only when "Half" is asked for
// and the pictures have more than 8 bits; Auto keeps video in 8 bits, as ordinary footage is.
TexelFormat videoTexelFormat(CacheDepth depth, AVPixelFormat samples);

// The texel format a still picture is kept in at the depth.
TexelFormat stillTexelFormat(CacheDepth depth, const AVFrame& picture);

// Writes the picture in `format` into `pixels`, which hold width × height texels of it.
bool writeForCache(const AVFrame& picture, TexelFormat format, unsigned char* pixels);

}  // namespace decode
