#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Path from the world to a DAG node. Nodes have one parent here, so a node has one path.
class MDagPath {
public:
    MDagPath();
    MDagPath(const MDagPath& other);
    ~MDagPath();

    MDagPath& operator=(const MDagPath& other);
    bool operator==(const MDagPath& other) const;

    static MStatus getAPathTo(const MObject& node, MDagPath& path);

    bool hasFn(MFn::Type type, MStatus* ReturnStatus = nullptr) const;
    MFn::Type apiType(MStatus* ReturnStatus = nullptr) const;
    bool isValid(MStatus* ReturnStatus = nullptr) const;
    MObject node(MStatus* ReturnStatus = nullptr) const;
    // The node itself when it is a transform, otherwise its parent.
    MObject transform(MStatus* ReturnStatus = nullptr) const;
    // Number of nodes on the path below the world.
    unsigned int length(MStatus* ReturnStatus = nullptr) const;
    unsigned int childCount(MStatus* ReturnStatus = nullptr) const;
    MObject child(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MStatus push(const MObject& child);
    MStatus pop(unsigned int num = 1);
    MStatus extendToShape();

    // World matrix of the node, and of its parent.
    MMatrix inclusiveMatrix(MStatus* ReturnStatus = nullptr) const;
    MMatrix exclusiveMatrix(MStatus* ReturnStatus = nullptr) const;
    MMatrix inclusiveMatrixInverse(MStatus* ReturnStatus = nullptr) const;

    MString fullPathName(MStatus* ReturnStatus = nullptr) const;
    MString partialPathName(MStatus* ReturnStatus = nullptr) const;

private:
    MObject node_;
};

OPENMAYA_NAMESPACE_CLOSE
