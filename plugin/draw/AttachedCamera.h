#pragma once

#include <maya/MDagPath.h>
#include <maya/MObject.h>

// Whether a view through `camera` (a camera shape or its transform) looks through the camera the
// node is attached to. A node attached to no camera belongs to every view.
bool looksThroughAttachedCamera(const MObject& node, const MDagPath& camera);
