#pragma once

#include <maya/MPointArray.h>

// The two triangles, lower-right then upper-left, of a rectangle 2 × halfWidth wide and 2 high
// centred on the origin of the XY plane, as (x, y, 0, 1) points.
inline void setQuadCorners(MPointArray& positions, double halfWidth) {
    positions.clear();
    positions.append(-halfWidth, -1.0, 0.0, 1.0);
    positions.append(halfWidth, -1.0, 0.0, 1.0);
    positions.append(halfWidth, 1.0, 0.0, 1.0);
    positions.append(-halfWidth, -1.0, 0.0, 1.0);
    positions.append(halfWidth, 1.0, 0.0, 1.0);
    positions.append(-halfWidth, 1.0, 0.0, 1.0);
}
