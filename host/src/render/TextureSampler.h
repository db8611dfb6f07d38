#pragma once

#include <maya/MStateManager.h>

#include <cstdint>
#include <vector>

namespace host {

struct Colour {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

// Packed RGBA texels of one mipmap level, row 0 being the first row the texture was given: bytes,
// or half-float values with halfFloat. A level never generated has no pixels.
struct TextureView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    bool halfFloat = false;
};

// Texture coordinate (0, 0) is the first texel of the last row and (1, 1) the last texel of
// the first row, so rows handed over top-down show upright. Coordinates outside 0..1 repeat
// the texture when wrap is set and read its edge otherwise.
Colour sampleTexture(const TextureView& texture, double u, double v, bool linear, bool wrap);

// Samples the levels (the first one first) at a level of detail lod, the base-2 logarithm of
// the texels of the first level per picture pixel along a side: point filtering reads the
// nearest level, linear filtering blends the two nearest. A level never generated holds
// nothing defined and reads as transparent black.
Colour sampleMipmapped(const std::vector<TextureView>& levels, double lod, double u, double v,
                       bool linear, bool wrap);

// Keeps the masked channels: without alpha in the mask the texel is opaque. Maya does not say
// what the alpha channel alone shows; here it is black with the texel's alpha.
Colour applyChannelMask(const Colour& texel, MHWRender::MBlendState::ChannelMask mask);

}  // namespace host
