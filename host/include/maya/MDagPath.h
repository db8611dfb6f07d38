#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDagPathArray;

// Path from the world to a DAG node: one instance of it. A node under several parents, or under
// an instanced ancestor, is reached by several paths.
class MDagPath {
public:
    MDagPath();
    MDagPath(const MDagPath& other);
    ~MDagPath();

    MDagPath& operator=(const MDagPath& other);
    // True when both are the same instance of the same node.
    bool operator==(const MDagPath& other) const;

    static MStatus getAllPathsTo(const MObject& node, MDagPathArray& pathArray);
    static MStatus getAPathTo(const MObject& node, MDagPath& path);
    MStatus getAllPathsBelow(MDagPathArray& pathArray);

    bool hasFn(MFn::Type type, MStatus* ReturnStatus = nullptr) const;
    MFn::Type apiType(MStatus* ReturnStatus = nullptr) const;
    bool isValid(MStatus* ReturnStatus = nullptr) const;
    MObject node(MStatus* ReturnStatus = nullptr) const;
    // The lowest transform on the path: the node itself when it is a transform.
    MObject transform(MStatus* ReturnStatus = nullptr) const;
    // Number of nodes on the path below the world.
    unsigned int length(MStatus* ReturnStatus = nullptr) const;
    unsigned int childCount(MStatus* ReturnStatus = nullptr) const;
    MObject child(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MStatus push(const MObject& child);
    MStatus pop(unsigned int num = 1);
    MStatus extendToShape();
    // Whether the node has more than one path, through its own parents or an ancestor's.
    bool isInstanced(MStatus* ReturnStatus = nullptr) const;
    // Which of the node's paths this is, numbered as getAllPathsTo gives them.
    unsigned int instanceNumber(MStatus* ReturnStatus = nullptr) const;

    // World matrix of the node along this path, and of its parent along it.
    MMatrix inclusiveMatrix(MStatus* ReturnStatus = nullptr) const;
    MMatrix exclusiveMatrix(MStatus* ReturnStatus = nullptr) const;
    MMatrix inclusiveMatrixInverse(MStatus* ReturnStatus = nullptr) const;

    MString fullPathName(MStatus* ReturnStatus = nullptr) const;
    MString partialPathName(MStatus* ReturnStatus = nullptr) const;

private:
    // The node right below the world first, the path's node last.
    std::vector<MObject> nodes_;
};

OPENMAYA_NAMESPACE_CLOSE
