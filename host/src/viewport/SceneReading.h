#pragma once

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>

namespace host {

// The world matrix of the node's transform (element 0 of its "worldMatrix"), which evaluates
// whatever drives it.
MMatrix transformWorldMatrix(const MDagPath& path);

// False when the node or a DAG parent has "visibility" off.
bool isVisible(const MObject& node);

bool isInScene(const MObject& node);

}  // namespace host
