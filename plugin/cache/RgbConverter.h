#pragma once

#include "cache/FfmpegPointers.h"
#include "cache/RgbPicture.h"

namespace video {

// Converts decoded frames to RGB24 of one fixed size with bilinear scaling flags, reading the
// YCbCr matrix and range each frame declares, as the ffmpeg tool's scale filter does.
class RgbConverter {
public:
    RgbConverter(int width, int height);

    // The picture stays valid until the next conversion. False when the frame cannot be
    // converted (the picture is then left untouched).
    bool convert(const AVFrame& frame, RgbPicture& picture);

private:
    bool prepareScaler(const AVFrame& frame);
    void applyColourDetails(const AVFrame& frame);

    int width_;
    int height_;
    FramePtr rgb_;
    ScalerPtr scaler_;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int sourceFormat_ = -1;
    int appliedColorspace_ = -1;
    int appliedRange_ = -1;
};

}  // namespace video
