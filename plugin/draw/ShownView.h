#pragma once

#include <maya/MString.h>

// How the refresh being prepared shows a node, as the node's display attributes say: whether
// this view shows it at all, the picture's opacity, and the readout of the frame shown.
struct ShownView {
    // False in a view other than the node's camera when the node is shown only through it.
    bool visible = true;
    double opacity = 1.0;
    bool showInfo = false;
    // The readout's line for the picture in the texture; empty while none is shown.
    MString readout;
};
