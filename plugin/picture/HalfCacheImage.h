#pragma once

#include "picture/FfmpegPointers.h"
#include "picture/Orientation.h"
#include "picture/ToolScaler.h"

#include <cstdint>

namespace video {

// A decoded frame converted to planar RGB of 16 bits a sample in the machine's byte order, as
// stored, with the turn that shows it upright. The three planes share one row pitch.
struct DeepRgbPicture {
    const uint8_t* red = nullptr;
    const uint8_t* green = nullptr;
    const uint8_t* blue = nullptr;
    int linesize = 0;
    int width = 0;
    int height = 0;
    Orientation orientation;
};

// Converts decoded frames to 16-bit planar RGB (GBRP16) of one fixed size, as the ffmpeg tool's
// scale filter does (see ToolScaler), into a frame laid out as the tool's filter frames are.
// 16 bits hold every sample of the deep formats, so nothing is dithered and the pixels do not
// depend on position; the planar form is the scaler's quick way out of YCbCr at that depth
// (several times quicker than packed RGBA64 on FFmpeg 5.1).
class DeepRgbConverter {
public:
    DeepRgbConverter(int width, int height);

    // The picture stays valid until the next conversion. False when the frame cannot be
    // converted.
    bool convert(const AVFrame& frame, DeepRgbPicture& picture);

private:
    int width_;
    int height_;
    FramePtr rgb_;
    ToolScaler scaler_;
};

// Turns a full-size 16-bit RGB picture upright and reduces it to half-float RGBA at 1/divisor of
// its size by point sampling, exactly as fillCacheImage does for 8 bits: each sample v becomes
// the half nearest v / 65535, alpha 1 (a video's alpha is not shown, as for 8-bit frames).
// `image` holds cacheImageBytes × 2 bytes. The divisor must be 1, 2 or 4 and the picture hold
// pixels.
void fillHalfCacheImage(const DeepRgbPicture& picture, int divisor, unsigned char* image);

}  // namespace video
