#pragma once

#include <array>
#include <cstdint>

namespace video {

// IEEE 754 binary16, the texel type of half-float textures: rounded to nearest, ties to even;
// values past the half range become infinity, NaN stays NaN.
std::uint16_t toHalf(float value);
float fromHalf(std::uint16_t half);

constexpr std::uint16_t kHalfOne = 0x3C00;

// The half nearest v / 65535 for every 16-bit sample v, exactly rounded: one look-up per channel
// instead of a conversion.
const std::array<std::uint16_t, 65536>& halfOfSample16();

}  // namespace video
