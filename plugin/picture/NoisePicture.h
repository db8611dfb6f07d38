#pragma once

#include "picture/FfmpegPointers.h"

namespace video {

// A picture of the same format, size and colour details as `like`, every plane filled with
// fixed-seed noise within the format's component depth (the same picture every time), for trying
// a conversion on a picture of that kind; null for formats whose samples are not whole bytes or
// 16-bit words.
FramePtr noisePictureLike(const AVFrame& like);

}  // namespace video
