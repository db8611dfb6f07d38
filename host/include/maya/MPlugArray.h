#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of plugs.
class MPlugArray {
public:
    MPlugArray();
    MPlugArray(const MPlugArray& other);
    MPlugArray(unsigned int initialSize, const MPlug& initialValue);
    ~MPlugArray();

    MPlugArray& operator=(const MPlugArray& other);
    const MPlug& operator[](unsigned int index) const;
    MPlug& operator[](unsigned int index);

    MStatus set(const MPlug& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MPlug& element, unsigned int index);
    MStatus append(const MPlug& element);
    MStatus copy(const MPlugArray& source);
    MStatus clear();

private:
    std::vector<MPlug> values_;
};

OPENMAYA_NAMESPACE_CLOSE
