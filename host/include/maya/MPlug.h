#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTime.h>

#include <memory>

namespace host {
class Node;
class Attribute;
struct Access;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlugArray;

// One attribute of one node (or one element of an array attribute, or one child of a compound).
// Reading a plug evaluates it: a connected destination takes its source's value, a dirty output
// is computed by its node.
class MPlug {
public:
    MPlug();
    MPlug(const MPlug& other);
    MPlug(const MObject& node, const MObject& attribute);
    ~MPlug();

    MPlug& operator=(const MPlug& other);
    bool operator==(const MPlug& other) const;
    bool operator!=(const MPlug& other) const;
    bool operator==(const MObject& attribute) const;
    bool operator!=(const MObject& attribute) const;
    MPlug operator[](MObject& attribute) const;
    MPlug operator[](unsigned int logicalIndex) const;
    operator MObject() const;

    bool isNull(MStatus* ReturnStatus = nullptr) const;
    MObject attribute(MStatus* ReturnStatus = nullptr) const;
    MObject node(MStatus* ReturnStatus = nullptr) const;
    // "node.attribute" with long attribute names, element indices in brackets.
    MString name(MStatus* ReturnStatus = nullptr) const;
    MString partialName(bool includeNodeName = false, bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false, bool useAlias = false,
                        bool useFullAttributePath = false, bool useLongNames = false,
                        MStatus* ReturnStatus = nullptr) const;
    MString info(MStatus* ReturnStatus = nullptr) const;

    bool isNetworked(MStatus* ReturnStatus = nullptr) const;
    bool isArray(MStatus* ReturnStatus = nullptr) const;
    bool isElement(MStatus* ReturnStatus = nullptr) const;
    bool isCompound(MStatus* ReturnStatus = nullptr) const;
    bool isChild(MStatus* ReturnStatus = nullptr) const;
    bool isKeyable(MStatus* ReturnStatus = nullptr) const;
    bool isConnected(MStatus* ReturnStatus = nullptr) const;
    bool isSource(MStatus* ReturnStatus = nullptr) const;
    bool isDestination(MStatus* ReturnStatus = nullptr) const;
    bool isDefaultValue(bool forceEval = true, MStatus* ReturnStatus = nullptr) const;
    // A locked plug refuses every set, as do the children of a locked compound and a compound
    // with a locked child.
    bool isLocked(MStatus* ReturnStatus = nullptr) const;
    MStatus setLocked(bool locked);

    unsigned int logicalIndex(MStatus* ReturnStatus = nullptr) const;
    MPlug elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus = nullptr) const;
    MPlug elementByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus = nullptr) const;
    unsigned int numElements(MStatus* ReturnStatus = nullptr) const;
    unsigned int evaluateNumElements(MStatus* ReturnStatus = nullptr);
    MPlug array(MStatus* ReturnStatus = nullptr) const;
    unsigned int numChildren(MStatus* ReturnStatus = nullptr) const;
    MPlug child(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MPlug child(MObject& attribute, MStatus* ReturnStatus = nullptr) const;
    MPlug parent(MStatus* ReturnStatus = nullptr) const;

    bool connectedTo(MPlugArray& array, bool asDst, bool asSrc,
                     MStatus* ReturnStatus = nullptr) const;
    MPlug source(MStatus* ReturnStatus = nullptr) const;
    bool destinations(MPlugArray& theDestinations, MStatus* ReturnStatus = nullptr) const;

    double asDouble(MStatus* ReturnStatus = nullptr) const;
    float asFloat(MStatus* ReturnStatus = nullptr) const;
    int asInt(MStatus* ReturnStatus = nullptr) const;
    short asShort(MStatus* ReturnStatus = nullptr) const;
    char asChar(MStatus* ReturnStatus = nullptr) const;
    bool asBool(MStatus* ReturnStatus = nullptr) const;
    MString asString(MStatus* ReturnStatus = nullptr) const;
    // In the current UI time unit.
    MTime asMTime(MStatus* ReturnStatus = nullptr) const;
    // Matrix and string plugs give their data object.
    MObject asMObject(MStatus* ReturnStatus = nullptr) const;

    MStatus getValue(double& value) const;
    MStatus getValue(float& value) const;
    MStatus getValue(int& value) const;
    MStatus getValue(short& value) const;
    MStatus getValue(bool& value) const;
    MStatus getValue(MString& value) const;
    MStatus getValue(MTime& value) const;
    MStatus getValue(MObject& value) const;

    // A connected destination refuses every set; numbers are clamped to the attribute's limits.
    MStatus setDouble(double value);
    MStatus setFloat(float value);
    MStatus setInt(int value);
    MStatus setShort(short value);
    MStatus setChar(char value);
    MStatus setBool(bool value);
    MStatus setString(const MString& value);
    MStatus setMTime(const MTime& value);
    MStatus setMObject(const MObject& value);

    MStatus setValue(double value);
    MStatus setValue(float value);
    MStatus setValue(int value);
    MStatus setValue(short value);
    MStatus setValue(bool value);
    MStatus setValue(const char* value);
    MStatus setValue(const MString& value);
    MStatus setValue(const MTime& value);
    MStatus setValue(const MObject& value);

private:
    friend struct host::Access;
    std::shared_ptr<host::Node> node_;
    std::shared_ptr<host::Attribute> attribute_;
    // Logical index of an element of an array attribute; -1 otherwise.
    int index_ = -1;
};

OPENMAYA_NAMESPACE_CLOSE
