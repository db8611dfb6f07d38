#pragma once

#include "TestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

// Test media made with the ffmpeg tool, and the tool's own decode as the reference.
namespace testsupport {

// Runs `ffmpeg -y <arguments> <path>` quietly; throws when the tool fails.
void makeMedia(const std::string& arguments, const std::string& path);

// A video decoded by the tool: every frame it writes with passthrough timing, as RGB24 rows,
// turned upright as the tool does by default (the size is the upright one).
struct ReferenceVideo {
    int width = 0;
    int height = 0;
    std::vector<std::vector<uint8_t>> frames;  // width × height × 3 bytes each
};

ReferenceVideo referenceDecode(const std::string& path);

// The RGB24 frame reduced to RGBA at 1/divisor (at least one pixel each way) by taking the
// top-left pixel of each cell.
std::vector<uint8_t> pointSampledRgba(const std::vector<uint8_t>& rgb, int width, int height,
                                      int divisor);

}  // namespace testsupport
