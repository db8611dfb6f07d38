#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPoint;

#define MFloatPoint_kTol 1.0e-5

// Single-precision homogeneous position.
class MFloatPoint {
public:
    MFloatPoint();
    MFloatPoint(const MFloatPoint& other);
    MFloatPoint(float xx, float yy, float zz = 0.0f, float ww = 1.0f);
    MFloatPoint(const float f[4]);
    ~MFloatPoint();

    MFloatPoint& operator=(const MFloatPoint& other);
    float operator[](unsigned int index) const;
    float& operator[](unsigned int index);
    bool operator==(const MFloatPoint& other) const;
    bool operator!=(const MFloatPoint& other) const;

    MStatus get(float dest[4]) const;
    MStatus setCast(const MPoint& source);
    MFloatPoint& cartesianize();
    float distanceTo(const MFloatPoint& other) const;
    bool isEquivalent(const MFloatPoint& other, float tolerance = MFloatPoint_kTol) const;

    static const MFloatPoint origin;

    float x;
    float y;
    float z;
    float w;
};

std::ostream& operator<<(std::ostream& out, const MFloatPoint& point);

OPENMAYA_NAMESPACE_CLOSE
