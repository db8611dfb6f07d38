#pragma once

#include "decode/FfmpegPointers.h"
#include "picture/RgbPicture.h"
#include "picture/ToolScaler.h"

namespace video {

// Converts decoded frames to RGB24 of one fixed size, as the ffmpeg tool's scale filter does
// (see ToolScaler), into a frame laid out as the tool's filter frames are.
class RgbConverter {
public:
    RgbConverter(int width, int height);

    // The picture stays valid until the next conversion. False when the frame cannot be
    // converted (the picture is then left untouched).
    bool convert(const AVFrame& frame, RgbPicture& picture);

private:
    int width_;
    int height_;
    FramePtr rgb_;
    ToolScaler scaler_;
};

}  // namespace video
