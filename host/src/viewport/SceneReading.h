#pragma once

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>

namespace host {

// The world matrix of the lowest transform on the path (its "worldMatrix" element for that
// instance), which evaluates whatever drives it.
MMatrix transformWorldMatrix(const MDagPath& path);

// False when a node on the path has "visibility" off.
bool isVisible(const MDagPath& path);

bool isInScene(const MObject& node);

}  // namespace host
