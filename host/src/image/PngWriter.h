#pragma once

#include <cstdint>
#include <string>

namespace host {

enum class RowOrder { TopFirst, BottomFirst };

// Writes packed RGBA pixels as a PNG file (upright) with FFmpeg's PNG encoder.
bool writeRgbaPng(const std::string& path, const std::uint8_t* pixels, int width, int height,
                  RowOrder order);

}  // namespace host
