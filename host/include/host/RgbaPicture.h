#pragma once

#include <cstdint>
#include <vector>

namespace host {

// Packed 8-bit red, green, blue, alpha pixels, top row first.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

}  // namespace host
