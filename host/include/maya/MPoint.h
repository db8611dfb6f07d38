#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#include <iosfwd>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MFloatPoint;
class MMatrix;

#define MPoint_kTol 1.0e-10

// Homogeneous position (x, y, z, w); w is 1 for ordinary points.
class MPoint {
public:
    MPoint();
    MPoint(const MPoint& other);
    MPoint(const MFloatPoint& other);
    MPoint(const MVector& vector);
    MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0);
    MPoint(const double d[4]);
    MPoint(const float f[4]);
    ~MPoint();

    MPoint& operator=(const MPoint& other);
    double operator()(unsigned int index) const;
    double& operator()(unsigned int index);
    double operator[](unsigned int index) const;
    double& operator[](unsigned int index);

    MVector operator-(const MPoint& other) const;
    MPoint operator+(const MVector& vector) const;
    MPoint operator-(const MVector& vector) const;
    MPoint& operator+=(const MVector& vector);
    MPoint& operator-=(const MVector& vector);
    MPoint operator*(double scale) const;
    MPoint operator/(double scale) const;
    MPoint operator*(const MMatrix& right) const;
    MPoint& operator*=(const MMatrix& right);
    bool operator==(const MPoint& other) const;
    bool operator!=(const MPoint& other) const;

    MStatus get(double dest[4]) const;
    MStatus get(float dest[4]) const;
    // Divides x, y and z by w and sets w to 1.
    MPoint& cartesianize();
    // Divides x, y and z by w, keeping w.
    MPoint& rationalize();
    // Multiplies x, y and z by w.
    MPoint& homogenize();
    double distanceTo(const MPoint& other) const;
    bool isEquivalent(const MPoint& other, double tolerance = MPoint_kTol) const;

    static const MPoint origin;

    double x;
    double y;
    double z;
    double w;
};

MPoint operator*(double scale, const MPoint& point);
// Column-vector product: matrix on the left.
MPoint operator*(const MMatrix& left, const MPoint& right);
std::ostream& operator<<(std::ostream& out, const MPoint& point);

OPENMAYA_NAMESPACE_CLOSE
