#include "decode/CacheDepth.h"

namespace decode {

CacheDepth cacheDepthFromAttribute(int value) {
    switch (value) {
        case 1:
            return CacheDepth::kEightBit;
        case 2:
            return CacheDepth::kHalf;
        default:
            return CacheDepth::kAuto;
    }
}

bool keptAsHalf(CacheDepth depth, SampleDepth samples) {
    switch (depth) {
        case CacheDepth::kAuto:
            return samples == SampleDepth::kFloat;
        case CacheDepth::kHalf:
            return samples != SampleDepth::kEightBit;
        case CacheDepth::kEightBit:
            break;
    }
    return false;
}

TexelFormat videoTexelFormat(CacheDepth depth, AVPixelFormat samples) {
    return depth == CacheDepth::kHalf && sampleDepthOf(samples) != SampleDepth::kEightBit
               ? TexelFormat::kRgbaHalf
               : TexelFormat::kRgba8;
}

TexelFormat stillTexelFormat(CacheDepth depth, const AVFrame& picture) {
    return keptAsHalf(depth, sampleDepthOf(picture)) ? TexelFormat::kRgbaHalf : TexelFormat::kRgba8;
}

bool writeForCache(const AVFrame& picture, TexelFormat format, unsigned char* pixels) {
    return format == TexelFormat::kRgbaHalf ? writeRgbaHalf(picture, pixels)
                                            : writeRgba8(picture, pixels);
}

}  // namespace decode
