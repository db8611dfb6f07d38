#pragma once

#include <cstddef>

struct AVCodecContext;

namespace video {

// An estimate of the memory an open video decoder holds, counted in the cache budget: the
// decoded pictures it keeps, each `width` × `height` in the decoder's pixel format, as many as
// the stream's reference frames plus one in flight per decoding thread and the one handed out;
// and the RGB24 picture of the conversion to RGBA, with its upright copy for a turned video.
// FFmpeg's own tables and packet buffers are left out: they are small beside the pictures.
size_t decoderFootprint(const AVCodecContext* decoder, bool turned);

}  // namespace video
