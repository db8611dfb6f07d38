#pragma once

#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace decode {

// How a picture's texels are held: 8-bit RGBA (4 bytes), or half-float RGBA (8 bytes, each
// channel an IEEE binary16 in the machine's byte order) for sources with more than 8 bits.
enum class TexelFormat { kRgba8, kRgbaHalf };

inline std::size_t bytesPerTexel(TexelFormat format) {
    return format == TexelFormat::kRgbaHalf ? 8 : 4;
}

// A picture as RGBA, rows packed, top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    TexelFormat format = TexelFormat::kRgba8;
    std::vector<std::uint8_t> pixels;

    std::size_t bytes() const { return pixels.size(); }
};

// What a decoded picture's samples are.
enum class SampleDepth {
    kEightBit,  // 8 bits or fewer per component
    kDeep,      // integers of more than 8 bits (10-bit video, 16-bit PNG or TIFF)
    kFloat,     // floating point (EXR)
};
SampleDepth sampleDepthOf(const AVFrame& picture);
SampleDepth sampleDepthOf(AVPixelFormat format);

// Writes a decoded picture into `pixels` (width × height × 4 bytes) as 8-bit RGBA, rows packed,
// top row first: the bytes of the ffmpeg tool's `-pix_fmt rgba` for a still image of the same
// size. False when it cannot.
bool writeRgba8(const AVFrame& picture, unsigned char* pixels);

// Writes a decoded picture into `pixels` (width × height × 8 bytes) as half-float RGBA. Float
// samples are taken as they are, values past 0..1 kept; integer samples are scaled to 0..1. A
// picture without alpha gets alpha 1. False when it cannot.
bool writeRgbaHalf(const AVFrame& picture, unsigned char* pixels);

}  // namespace decode
