#pragma once

#include "picture/RgbaImage.h"

// Marks a picture shown in place of a frame still being decoded: an opaque orange triangle in
// the top right corner, its sides along the picture's edges a twelfth of the picture's smaller
// side long (four pixels at least), so that an artist tells a stand-in from the frame asked for
// at a glance, without it hiding the picture. The picture is RGBA in the given texel format,
// rows packed, top row first.
namespace video {

void drawPendingFrameMark(unsigned char* rgba, int width, int height,
                          decode::TexelFormat format = decode::TexelFormat::kRgba8);

}  // namespace video
