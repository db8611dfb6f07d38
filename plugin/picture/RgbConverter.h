#pragma once

#include "picture/BandedScaler.h"
#include "picture/FfmpegPointers.h"
#include "picture/RgbPicture.h"
#include "picture/SpareThreads.h"
#include "picture/ToolScaler.h"

#include <memory>

namespace video {

// Converts decoded frames to RGB24 of one fixed size, as the ffmpeg tool's scale filter does
// (see ToolScaler), into a frame laid out as the tool's filter frames are.
class RgbConverter {
public:
    RgbConverter(int width, int height);

    // The picture stays valid until the next conversion. False when the frame cannot be
    // converted (the picture is then left untouched). With `threads`, converted in bands shared
    // with the idle ones where that gives the same bytes (see BandedScaler).
    bool convert(const AVFrame& frame, RgbPicture& picture, SpareThreads* threads = nullptr);
    // Whether the last conversion was made in bands.
    bool convertedInBands() const { return inBands_; }

private:
    int width_;
    int height_;
    FramePtr rgb_;
    ToolScaler scaler_;
    std::unique_ptr<BandedScaler> banded_;
    bool inBands_ = false;
};

}  // namespace video
