#pragma once

#include "picture/RgbConverter.h"
#include "picture/ToolScaler.h"

namespace video {

// Whether converting frames like `like` straight to packed RGBA with `rgba` gives the very bytes
// of the RGB24 conversion by `rgb` with opaque alpha added, and writes nothing past the packed
// picture. It depends on the format, the size, the colour details, the processor and the FFmpeg
// build (some widths write past the end or round the last columns differently; formats with
// alpha or a palette carry their own alpha), so it is tried on a noise picture of the same kind,
// in a buffer from allocateFrameBuffer as the cache's are.
bool straightRgbaMatches(const AVFrame& like, ToolScaler& rgba, RgbConverter& rgb);

// straightRgbaMatches, tried once per kind of picture in the process: nothing but the kind (format,
// size, colour details) changes the outcome within one process, and the trial costs three
// conversions of a picture into fresh memory, which every decoder of every file would otherwise
// pay before its first frame. Safe to call from any thread.
bool straightRgbaMatchesOnce(const AVFrame& like, ToolScaler& rgba, RgbConverter& rgb);

}  // namespace video
