#pragma once

#include "picture/FfmpegPointers.h"

namespace video {

// A scaler from decoded frames to one fixed size and packed pixel format, with bilinear scaling
// flags and the YCbCr matrix and range each frame declares, as the ffmpeg tool's scale filter
// picks them. Set up anew when the frames' size or format changes.
class ToolScaler {
public:
    ToolScaler(int width, int height, AVPixelFormat target);

    // Readies the scaler for the frame; false when it cannot convert it.
    bool prepare(const AVFrame& frame);
    // Converts a frame `prepare` accepted into rows `linesize` bytes apart.
    bool scale(const AVFrame& frame, uint8_t* target, int linesize);
    // The same into the planes of a planar format.
    bool scale(const AVFrame& frame, uint8_t* const planes[], const int linesizes[]);

private:
    void applyColourDetails(const AVFrame& frame);

    int width_;
    int height_;
    AVPixelFormat target_;
    ScalerPtr scaler_;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int sourceFormat_ = -1;
    // Full-range formats of old are set up as their plain counterparts with full range: the
    // same conversion, without the scaler's warning at each set-up.
    bool fullRangeFormat_ = false;
    int appliedColorspace_ = -1;
    int appliedRange_ = -1;
};

}  // namespace video
