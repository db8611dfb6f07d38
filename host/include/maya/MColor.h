#pragma once

#include <maya/MApiNamespace.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// A colour with alpha, each component a float (0 to 1 for displayable colours). A new colour is
// black and opaque.
class MColor {
public:
    MColor();
    MColor(float rr, float gg, float bb = 0.0, float aa = 1.0);

    bool operator==(const MColor& other) const;
    bool operator!=(const MColor& other) const;

    float r;
    float g;
    float b;
    float a;
};

OPENMAYA_NAMESPACE_CLOSE
