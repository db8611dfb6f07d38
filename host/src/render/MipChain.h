#pragma once

#include <cstdint>
#include <vector>

namespace host {

// Levels of a full mipmap chain: each level halves the one above (rounding down, at least one
// texel) down to 1 x 1.
unsigned int fullMipChainLength(unsigned int width, unsigned int height);

// Size of a level of a width x height texture.
unsigned int mipLevelSize(unsigned int size, unsigned int level);

// Remakes every level below the first from the first: each texel is the rounded mean of the
// 2 x 2 texels above it (the edge texel repeated where an odd size leaves one out), channel by
// channel, of bytes or, with halfFloat, of half-float values.
void generateMipLevels(std::vector<std::vector<std::uint8_t>>& levels, unsigned int width,
                       unsigned int height, bool halfFloat = false);

}  // namespace host
