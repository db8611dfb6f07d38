#pragma once

#include <cstddef>

struct AVCodecContext;

namespace video {

// An estimate of the memory an open video decoder holds, counted in the cache budget: pictures
// `width` × `height` in the decoder's pixel format, for each decoding thread (each keeps its own)
// as many as the stream's reference frames and reordered (delayed) pictures, plus the one it
// decodes into and the one handed out; and the RGB24 picture of the conversion to RGBA (16-bit
// planar RGB, twice that, for frames kept as half float), with its upright copy for a turned
// video. FFmpeg's own tables and packet buffers are left out: they are
// small beside the pictures. For 1920 × 1080 H.264 with one reference, two reordered pictures
// and three threads this is about 53 MB; about 58 MB was measured.
size_t decoderFootprint(const AVCodecContext* decoder, bool turned, bool keptAsHalf = false);

}  // namespace video
