#pragma once

#include "picture/RgbaImage.h"

namespace video {

// Marks a picture shown in place of a missing frame, as review tools do: an opaque red cross
// from corner to corner, about a fortieth of the picture's smaller side thick (two pixels at
// least), so it stays visible however small the plane is drawn. The picture is RGBA in the given
// texel format, rows packed.
void drawHeldFrameMark(unsigned char* rgba, int width, int height,
                       decode::TexelFormat format = decode::TexelFormat::kRgba8);

}  // namespace video
