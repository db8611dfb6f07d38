#pragma once

#include "picture/RgbaImage.h"

extern "C" {
#include <libavutil/rational.h>
}

// What the texture and the quad are made for: the size of the picture loaded (a video turned
// upright), the shape of its pixels, and its keyframe interval (1 for an image, 0 when nothing
// is loaded or its blocks are unknown), and how its texels are held.
struct LoadedMedium {
    int frameWidth = 0;
    int frameHeight = 0;
    AVRational pixelAspect{1, 1};
    int keyframeInterval = 0;
    decode::TexelFormat texelFormat = decode::TexelFormat::kRgba8;
};
