#pragma once

#include <maya/MApiNamespace.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

// Texture sampling settings. Filter values are bit sets: 0x10 linear minification,
// 0x04 linear magnification, 0x01 linear mipmap blending, 0x40 anisotropic.
class MSamplerState {
public:
    enum TextureFilter {
        kMinMagMipPoint = 0x00,
        kMinMagPoint_MipLinear = 0x01,
        kMinPoint_MagLinear_MipPoint = 0x04,
        kMinPoint_MagMipLinear = 0x05,
        kMinLinear_MagMipPoint = 0x10,
        kMinLinear_MagPoint_MipLinear = 0x11,
        kMinMagLinear_MipPoint = 0x14,
        kMinMagMipLinear = 0x15,
        kAnisotropic = 0x55,
    };

    // What a texture coordinate outside 0..1 reads.
    enum TextureAddress {
        kTexWrap = 1,
        kTexMirror = 2,
        kTexClamp = 3,
        kTexBorder = 4,
    };

    MSamplerState() = delete;
};

class MBlendState {
public:
    enum ChannelMask {
        kNoChannels = 0,
        kRedChannel = 1,
        kGreenChannel = 2,
        kBlueChannel = 4,
        kAlphaChannel = 8,
        kRGBChannels = kRedChannel | kGreenChannel | kBlueChannel,
        kRGBAChannels = kRGBChannels | kAlphaChannel,
    };

    MBlendState() = delete;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
