#pragma once

#include <cstdint>

namespace host {

// IEEE 754 binary16, the texel type of kR16G16B16A16_FLOAT textures: rounded to nearest, ties to
// even; values past the half range become infinity, NaN stays NaN.
std::uint16_t toHalf(float value);
float fromHalf(std::uint16_t half);

}  // namespace host
