#pragma once

#include "decode/LocalFile.h"
#include "decode/StillDecoders.h"
#include "picture/FfmpegPointers.h"

#include <string>

namespace decode {

// Decodes the first picture of a still-image file (PNG, JPEG, TIFF, EXR, DPX, TGA, BMP, SGI, ...)
// in the pixel format its decoder gives, for a conversion of the caller's choice to follow. Only
// FFmpeg's still-image demuxers read the file, so that text, audio, video or playlist files are
// refused, not misread, and nothing but the one local file is opened. Null when it cannot be
// read. Uses no host API: safe on any thread.
video::FramePtr decodeStillImage(const std::string& path);
// The same from a file opened and checked by openLocalRegularFile, read from that very
// descriptor; the path only lends its extension to format probing. With `decoders`, a decoder
// kept there for a stream like this one is used, and the decoder is kept there afterwards.
video::FramePtr decodeStillImage(video::FileDescriptor file, const std::string& path,
                                 StillDecoders* decoders = nullptr);

}  // namespace decode
