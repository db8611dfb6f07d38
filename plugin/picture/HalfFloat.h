#pragma once

#include <array>
#include <cstdint>

namespace video {

// IEEE 754 binary16, the texel type of half-float textures: rounded to nearest, ties to even;
// values past the half range become infinity, NaN stays NaN.
std::uint16_t toHalf(float value);
float fromHalf(std::uint16_t half);

constexpr std::uint16_t kHalfOne = 0x3C00;

// Writes `width` texels of half-float RGBA into `out` from rows of 32-bit float samples in the
// machine's byte order, one row per channel; without an alpha row, alpha is 1. Every value is
// toHalf's, whether the processor converts eight at a time or not.
void halfRgbaRow(const unsigned char* red, const unsigned char* green, const unsigned char* blue,
                 const unsigned char* alpha, int width, std::uint16_t* out);

// The half nearest v / 65535 for every 16-bit sample v, exactly rounded: one look-up per channel
// instead of a conversion.
const std::array<std::uint16_t, 65536>& halfOfSample16();

}  // namespace video
