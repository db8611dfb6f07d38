#pragma once

#include "footage/LoadedMedium.h"

#include <vector>

// The picture shown where the footage cannot be: opaque dark grey with a thin red border and a
// red cross from corner to corner, so that the plane stays visible wherever it is (Maya discards
// texels whose alpha is under its threshold, so a transparent picture would show nothing).

// The card's size for a picture of the medium's shape (square for a medium without a size): the
// long side is kCardLongSide texels, the pixel shape is kept.
LoadedMedium cardShape(const LoadedMedium& medium);
inline constexpr int kCardLongSide = 256;

// The card's texels, RGBA, rows packed.
std::vector<unsigned char> cardPixels(int width, int height);
