#pragma once

#include "picture/FfmpegPointers.h"

namespace video {

// A decoder set up for the stream as the cache decodes it; null when the codec is unknown or
// does not open.
CodecContextPtr openStreamDecoder(const AVStream& stream);

}  // namespace video
