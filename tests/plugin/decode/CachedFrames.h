#pragma once

#include "Media.h"
#include "decode/BlockDecoder.h"

#include <cstdint>
#include <string>
#include <vector>

// Frames as the cache would hold them, for the decoding tests.
namespace decodetest {

// By frame number; empty where nothing was stored.
using CachedFrames = std::vector<std::vector<uint8_t>>;

// The picture's cache image at 1/divisor, the pixels only.
std::vector<uint8_t> cacheImageOf(const video::CachePicture& picture, int divisor);

// The tool's decode reduced as the cache reduces it.
CachedFrames expectedFrames(const testsupport::ReferenceVideo& reference, int divisor);

// Lists the frames that differ from the expected ones, or are missing; empty when none.
std::string wrongFrames(const CachedFrames& frames, const CachedFrames& expected);

}  // namespace decodetest
