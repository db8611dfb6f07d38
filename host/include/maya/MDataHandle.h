#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTime.h>

namespace host {
class Node;
class Attribute;
struct Slot;
struct Access;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

// One value of a node's data block, as handed to compute(). Handles from inputValue read; those
// from outputValue also write. A handle lives no longer than the compute call that made it.
class MDataHandle {
public:
    MDataHandle();
    MDataHandle(const MDataHandle& other);
    MDataHandle& operator=(const MDataHandle& other);
    ~MDataHandle();

    bool isNumeric() const;
    MFnNumericData::Type numericType() const;
    MFnData::Type type() const;
    MObject attribute();

    bool asBool() const;
    char asChar() const;
    short asShort() const;
    int asInt() const;
    OPENMAYA_DEPRECATED(2019, "Use asInt().")
    int asLong() const;
    float asFloat() const;
    double asDouble() const;
    // The identity for handles that hold no matrix.
    const MMatrix& asMatrix() const;
    // In the current UI time unit.
    MTime asTime() const;
    const MString& asString() const;
    MObject data();

    void set(bool value);
    void set(char value);
    void set(short value);
    void set(int value);
    void set(float value);
    void set(double value);
    void set(const MMatrix& value);
    void set(const MString& value);
    void set(const MTime& value);
    MStatus set(const MObject& value);
    void setBool(bool value);
    void setChar(char value);
    void setShort(short value);
    void setInt(int value);
    void setFloat(float value);
    void setDouble(double value);
    void setMMatrix(const MMatrix& value);
    void setString(const MString& value);
    void setMTime(const MTime& value);
    MStatus setMObject(const MObject& value);

    // Marks the plug this handle writes as computed.
    void setClean();

private:
    friend struct host::Access;
    host::Node* node_ = nullptr;
    const host::Attribute* attribute_ = nullptr;
    host::Slot* slot_ = nullptr;
    bool writable_ = false;
};

OPENMAYA_NAMESPACE_CLOSE
