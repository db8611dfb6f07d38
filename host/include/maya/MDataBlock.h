#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDataHandle.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

namespace host {
class Node;
struct Access;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

// The values of one node during compute(). inputValue evaluates the plug first (pulling from
// its source or computing it); outputValue gives a handle to write.
class MDataBlock {
public:
    MDataBlock(const MDataBlock& other);
    MDataBlock& operator=(const MDataBlock& other);
    ~MDataBlock();

    MDataHandle inputValue(const MPlug& plug, MStatus* ReturnStatus = nullptr);
    MDataHandle inputValue(const MObject& attribute, MStatus* ReturnStatus = nullptr);
    MDataHandle outputValue(const MPlug& plug, MStatus* ReturnStatus = nullptr);
    MDataHandle outputValue(const MObject& attribute, MStatus* ReturnStatus = nullptr);
    MStatus setClean(const MPlug& plug);
    MStatus setClean(const MObject& attribute);
    bool isClean(const MPlug& plug);
    bool isClean(const MObject& attribute, MStatus* ReturnStatus = nullptr);

private:
    friend struct host::Access;
    MDataBlock() = default;
    host::Node* node_ = nullptr;
};

OPENMAYA_NAMESPACE_CLOSE
