#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDataBlock.h>
#include <maya/MDeprecate.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

namespace host {
struct Access;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

// A node of the evaluation graph: a dependency node as time changes it. Only what a node's
// getCacheSetup and configCache use is modelled (no graph navigation, no dirty-plug iterator, no
// skipped evaluation).
class MEvaluationNode {
public:
    ~MEvaluationNode();
    MEvaluationNode(const MEvaluationNode& other);

    // Whether the attribute is among the plugs time dirties on this node.
    bool dirtyPlugExists(const MObject& attribute, MStatus* ReturnStatus = nullptr) const;
    MPlug dirtyPlug(const MObject& attribute, MStatus* ReturnStatus = nullptr) const;
    MObject dependencyNode(MStatus* ReturnStatus = nullptr) const;
    MDataBlock datablock(MStatus* ReturnStatus = nullptr) const;

    static const char* className();

private:
    friend struct host::Access;
    MEvaluationNode();
    explicit MEvaluationNode(const void* node);
    const void* node_ = nullptr;
};

OPENMAYA_NAMESPACE_CLOSE
