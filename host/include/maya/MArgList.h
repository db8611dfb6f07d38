#pragma once

#include <host/ArgItem.h>
#include <maya/MApiNamespace.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MTime.h>
#include <maya/MVector.h>

#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// The words of one command call, as the script gave them.
class MArgList {
public:
    MArgList();
    MArgList(const MArgList& other);
    ~MArgList();
    MArgList& operator=(const MArgList& other);

    unsigned int length(MStatus* ReturnStatus = nullptr) const;
    bool asBool(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    int asInt(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    double asDouble(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MString asString(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    // Reads a count followed by that many strings, starting at index; index moves past them.
    MStringArray asStringArray(unsigned int& index, MStatus* ReturnStatus = nullptr) const;
    // Index of the first word that is the flag, or kInvalidArgIndex.
    unsigned int flagIndex(const char* shortFlag, const char* longFlag = nullptr) const;

    MStatus addArg(bool arg);
    MStatus addArg(int arg);
    MStatus addArg(double arg);
    MStatus addArg(const MString& arg);
    MStatus addArg(const MTime& arg);
    MStatus addArg(const MVector& arg);
    MStatus addArg(const MPoint& arg);

    static const unsigned int kInvalidArgIndex;

private:
    friend struct host::ArgListAccess;
    std::vector<host::ArgItem> items_;
};

OPENMAYA_NAMESPACE_CLOSE
