#pragma once

#include "picture/FfmpegPointers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace video {

// How the stored picture is turned to be shown upright: one of the four quarter turns, each with
// or without a mirror. The stored pixel at column x, row y of the upright picture (u, v) is
//   x = columnOfU·u + columnOfV·v + (the width − 1 where that sum runs negative),
//   y = rowOfU·u + rowOfV·v + (the height − 1 likewise),
// where each factor is −1, 0 or 1.
struct Orientation {
    int columnOfU = 1;
    int columnOfV = 0;
    int rowOfU = 0;
    int rowOfV = 1;

    bool isAsStored() const { return columnOfU == 1 && rowOfV == 1; }
    // A quarter turn: the upright picture is as wide as the stored one is high.
    bool swapsAxes() const { return columnOfU == 0; }
    int uprightWidth(int storedWidth, int storedHeight) const {
        return swapsAxes() ? storedHeight : storedWidth;
    }
    int uprightHeight(int storedWidth, int storedHeight) const {
        return swapsAxes() ? storedWidth : storedHeight;
    }
};

// How to read a stored picture (width × height pixels of `pixelBytes` bytes, rows `pitch` bytes
// apart) in upright order: the byte offset of the upright top-left pixel, and the byte steps to
// the next pixel of an upright row and to the next upright row.
struct UprightWalk {
    ptrdiff_t origin = 0;
    ptrdiff_t alongRow = 0;
    ptrdiff_t downColumn = 0;
};
UprightWalk uprightWalk(const Orientation& turn, int width, int height, int pixelBytes, int pitch);

// Calls visit(u, v, offset) for each pixel (u, v) of a width × height upright picture, with the
// stored byte offset the walk gives. A quarter turn reads the stored picture down its columns, so
// the pixels then go tile by tile, each tile reading only rows that stay in the processor's cache.
template <typename Visit>
void visitUpright(const UprightWalk& walk, int width, int height, bool swapsAxes,
                  const Visit& visit) {
    constexpr int kTile = 32;
    const int tileWidth = swapsAxes ? kTile : width;
    for (int top = 0; top < height; top += kTile) {
        const int bottom = std::min(top + kTile, height);
        for (int left = 0; left < width; left += tileWidth) {
            const int right = std::min(left + tileWidth, width);
            for (int v = top; v < bottom; ++v) {
                const ptrdiff_t row = walk.origin + v * walk.downColumn;
                for (int u = left; u < right; ++u) {
                    visit(u, v, row + u * walk.alongRow);
                }
            }
        }
    }
}

// The orientation a display matrix (libavutil's 3 × 3 layout, 16.16 fixed point) asks for,
// mirror included; an angle between quarter turns goes to the nearest one, and a matrix that
// maps nothing (all zeros) leaves the picture as stored.
Orientation orientationFromDisplayMatrix(const int32_t matrix[9]);

// The orientation the stream's display matrix asks for; as stored when it has none.
Orientation streamOrientation(const AVStream& stream);

}  // namespace video
