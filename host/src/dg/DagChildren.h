#pragma once

#include <maya/MObject.h>
#include <maya/MStatus.h>

namespace host {

// The children of the DAG node an object stands for, as both MDagPath and MFnDagNode give them.
unsigned int childCountOf(const MObject& object, MStatus* status);
MObject childOf(const MObject& object, unsigned int index, MStatus* status);

}  // namespace host
