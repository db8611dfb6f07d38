#pragma once

#include "picture/FfmpegPointers.h"
#include "picture/Orientation.h"

namespace video {

// Whether a decoded picture has to be turned before its conversion to RGB to come out as the
// ffmpeg tool shows it: pictures of more than 8 bits per component, whose reduction to 8 bits
// dithers by position, and that the tool's transpose and flip filters turn as they are. Other
// pictures convert to the same pixels either way, and are turned while stored, at no extra cost.
bool turnsBeforeConversion(const AVFrame& frame);

// Turns the picture upright in its own pixel format, plane by plane, as those filters do, into
// `upright` (reused from one picture to the next). False when `upright` cannot be allocated.
bool turnUpright(const AVFrame& frame, const Orientation& turn, AVFrame& upright);

}  // namespace video
