#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for nodes of the DAG (transforms and shapes). Each node has one parent.
class MFnDagNode : public MFnDependencyNode {
public:
    enum { kNextPos = 0xff };

    MFnDagNode();
    MFnDagNode(const MObject& object, MStatus* ReturnStatus = nullptr);
    MFnDagNode(const MDagPath& object, MStatus* ReturnStatus = nullptr);
    ~MFnDagNode() override;

    MFn::Type type() const override;

    // Creates a node directly in the scene (not undoable). A shape type with a null parent gets
    // a new transform under the world, which is returned.
    MObject create(const MTypeId& typeId, MObject& parent = MObject::kNullObj,
                   MStatus* ReturnStatus = nullptr);
    MObject create(const MTypeId& typeId, const MString& name, MObject& parent = MObject::kNullObj,
                   MStatus* ReturnStatus = nullptr);
    MObject create(const MString& type, MObject& parent = MObject::kNullObj,
                   MStatus* ReturnStatus = nullptr);
    MObject create(const MString& type, const MString& name, MObject& parent = MObject::kNullObj,
                   MStatus* ReturnStatus = nullptr);

    unsigned int parentCount(MStatus* ReturnStatus = nullptr) const;
    // The world for nodes directly under it.
    MObject parent(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    unsigned int childCount(MStatus* ReturnStatus = nullptr) const;
    MObject child(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MObject dagRoot(MStatus* ReturnStatus = nullptr);
    // Moves the child under this node (not undoable).
    MStatus addChild(MObject& child, unsigned int index = kNextPos,
                     bool keepExistingParents = false);
    MStatus removeChild(MObject& child);
    bool hasParent(const MObject& node, MStatus* ReturnStatus = nullptr) const;
    bool hasChild(const MObject& node, MStatus* ReturnStatus = nullptr) const;
    bool isChildOf(const MObject& node, MStatus* ReturnStatus = nullptr) const;
    bool isParentOf(const MObject& node, MStatus* ReturnStatus = nullptr) const;

    MStatus getPath(MDagPath& path) const;
    MDagPath dagPath(MStatus* ReturnStatus = nullptr) const;
    MString fullPathName(MStatus* ReturnStatus = nullptr) const;
    MString partialPathName(MStatus* ReturnStatus = nullptr) const;
    MMatrix transformationMatrix(MStatus* ReturnStatus = nullptr) const;
};

OPENMAYA_NAMESPACE_CLOSE
