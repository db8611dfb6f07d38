#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFloatPoint.h>
#include <maya/MStatus.h>

#include <iosfwd>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of MFloatPoint values.
class MFloatPointArray {
public:
    MFloatPointArray();
    MFloatPointArray(const MFloatPointArray& other);
    MFloatPointArray(const MFloatPoint src[], unsigned int count);
    MFloatPointArray(unsigned int initialSize,
                     const MFloatPoint& initialValue = MFloatPoint::origin);
    ~MFloatPointArray();

    MFloatPointArray& operator=(const MFloatPointArray& other);
    const MFloatPoint& operator[](unsigned int index) const;
    MFloatPoint& operator[](unsigned int index);

    MStatus set(const MFloatPoint& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MFloatPoint& element, unsigned int index);
    MStatus append(const MFloatPoint& element);
    MStatus copy(const MFloatPointArray& source);
    MStatus clear();
    MStatus get(float array[][4]) const;
    MStatus get(double array[][4]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MStatus set(unsigned int index, float x, float y, float z = 0.0f, float w = 1.0f);
    MStatus append(float x, float y, float z = 0.0f, float w = 1.0f);

private:
    std::vector<MFloatPoint> values_;
    unsigned int sizeIncrement_ = 1;
};

std::ostream& operator<<(std::ostream& out, const MFloatPointArray& array);

OPENMAYA_NAMESPACE_CLOSE
