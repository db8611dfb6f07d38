#pragma once

#include "decode/FfmpegPointers.h"
#include "picture/Orientation.h"
#include "picture/ToolScaler.h"

#include <cstdint>

namespace video {

// A decoded frame converted to packed RGBA of 16 bits a channel in the machine's byte order
// (8 bytes per pixel, rows `linesize` bytes apart), as stored, with the turn that shows it upright.
struct Rgba64Picture {
    const uint8_t* data = nullptr;
    int linesize = 0;
    int width = 0;
    int height = 0;
    Orientation orientation;
};

// Converts decoded frames to RGBA64 of one fixed size, as the ffmpeg tool's scale filter does
// (see ToolScaler), into a frame laid out as the tool's filter frames are. 16 bits hold every
// sample of the deep formats, so nothing is dithered and the pixels do not depend on position.
class Rgba64Converter {
public:
    Rgba64Converter(int width, int height);

    // The picture stays valid until the next conversion. False when the frame cannot be
    // converted.
    bool convert(const AVFrame& frame, Rgba64Picture& picture);

private:
    int width_;
    int height_;
    FramePtr rgba_;
    ToolScaler scaler_;
};

// Turns a full-size RGBA64 picture upright and reduces it to half-float RGBA at 1/divisor of its
// size by point sampling, exactly as fillCacheImage does for 8 bits: each channel v becomes the
// half nearest v / 65535, alpha 1 (alpha is not shown, as for 8-bit frames). `image` holds
// cacheImageBytes × 2 bytes. The divisor must be 1, 2 or 4 and the picture hold pixels.
void fillHalfCacheImage(const Rgba64Picture& picture, int divisor, unsigned char* image);

}  // namespace video
