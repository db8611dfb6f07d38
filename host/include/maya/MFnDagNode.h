#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for nodes of the DAG (transforms and shapes). An instanced node has several
// parents; one made on a DAG path keeps that path (that instance).
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
    // Moves the child under this node, or with keepExistingParents adds it here as one more
    // instance (not undoable).
    MStatus addChild(MObject& child, unsigned int index = kNextPos,
                     bool keepExistingParents = false);
    // Takes this node's instance of the child away; a child with no other parent goes under
    // the world.
    MStatus removeChild(MObject& child);
    bool hasParent(const MObject& node, MStatus* ReturnStatus = nullptr) const;
    bool hasChild(const MObject& node, MStatus* ReturnStatus = nullptr) const;
    bool isChildOf(const MObject& node, MStatus* ReturnStatus = nullptr) const;
    bool isParentOf(const MObject& node, MStatus* ReturnStatus = nullptr) const;

    // indirect: through an instanced ancestor too. total: every path, else direct parents.
    bool isInstanced(bool indirect = true, MStatus* ReturnStatus = nullptr) const;
    unsigned int instanceCount(bool total, MStatus* ReturnStatus = nullptr) const;
    MStatus getAllPaths(MDagPathArray& paths) const;
    bool isInstanceable(MStatus* ReturnStatus = nullptr) const;
    MStatus setInstanceable(const bool how);

    // The path the function set was made on, else the node's first.
    MStatus getPath(MDagPath& path) const;
    MDagPath dagPath(MStatus* ReturnStatus = nullptr) const;
    MString fullPathName(MStatus* ReturnStatus = nullptr) const;
    MString partialPathName(MStatus* ReturnStatus = nullptr) const;
    MMatrix transformationMatrix(MStatus* ReturnStatus = nullptr) const;

private:
    MDagPath path_;
};

OPENMAYA_NAMESPACE_CLOSE
