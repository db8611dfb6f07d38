#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Modifier that also creates and moves DAG nodes.
class MDagModifier : public MDGModifier {
public:
    MDagModifier();
    ~MDagModifier() override;

    // A shape type with a null parent also makes a new transform under the world, with the shape
    // as its first child, and returns the transform. A null parent otherwise means the world.
    MObject createNode(const MTypeId& typeId, const MObject& parent = MObject::kNullObj,
                       MStatus* ReturnStatus = nullptr);
    MObject createNode(const MString& type, const MObject& parent = MObject::kNullObj,
                       MStatus* ReturnStatus = nullptr);
    // A null parent means the world.
    MStatus reparentNode(const MObject& node, const MObject& newParent = MObject::kNullObj);
};

OPENMAYA_NAMESPACE_CLOSE
