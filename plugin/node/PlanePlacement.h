#pragma once

#include <maya/MMatrix.h>

// Everything the plane's placement depends on, in the units the node's attributes hold.
struct PlanePlacementInputs {
    MMatrix cameraWorld;
    double hApertureInches = 0.0;
    double vApertureInches = 0.0;
    double focalLength = 0.0;  // millimetres
    // An orthographic camera's film back spans orthographicWidth scene units across.
    bool orthographic = false;
    double orthographicWidth = 0.0;
    short filmFit = 0;   // camera film fit: 0 fill, 1 horizontal, 2 vertical, 3 overscan
    short planeFit = 0;  // 0 auto, 1 horizontal, 2 vertical
    double depth = 0.0;
    double posX = 0.0;  // film-back millimetres
    double posY = 0.0;
    double scale = 1.0;
    double resolutionAspect = 1.0;
    double frameRatio = 1.0;  // media width / height
};

// World matrix that puts the unit-high media quad at the given depth in front of the camera,
// filling the render frame along the fit axis (for an orthographic camera, at any depth). Inputs
// that admit no finite placement (a zero focal length, a non-finite value) give the identity, the
// same as a node with no camera.
MMatrix planePlacement(const PlanePlacementInputs& in);
