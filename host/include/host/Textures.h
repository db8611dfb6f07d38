#pragma once

#include <maya/MTextureManager.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Accounting and read-back of the textures the host's texture manager hands out.
namespace host {

struct TextureStats {
    std::size_t live = 0;         // textures not yet deleted
    std::size_t acquired = 0;     // successful acquisitions (references) since the last reset
    std::size_t released = 0;     // releases of live textures since the last reset
    std::size_t badReleases = 0;  // releases of deleted or unknown textures
};

TextureStats textureStats();
// Zeroes the counters except live, which always counts the textures alive.
void resetTextureCounters();

// Whether a live texture holds half-float texels (kR16G16B16A16_FLOAT) rather than bytes.
bool textureIsHalfFloat(const MHWRender::MTexture* texture);

// Copies the pixels of a mipmap level of a live texture (rows in texture order, packed RGBA in
// the texture's format).
// False when the pointer is not a live texture or the level was never filled.
bool readTextureLevel(const MHWRender::MTexture* texture, unsigned int level, int* width,
                      int* height, std::vector<std::uint8_t>* pixels);
// The first level.
bool readTexturePixels(const MHWRender::MTexture* texture, int* width, int* height,
                       std::vector<std::uint8_t>* pixels);

}  // namespace host
