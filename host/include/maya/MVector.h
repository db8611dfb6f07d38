#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPoint;
class MMatrix;

#define MVector_kTol 1.0e-10

// Direction in 3D; ignores translation when carried by a matrix.
class MVector {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    MVector();
    MVector(const MVector& other);
    MVector(const MPoint& point);
    MVector(double xx, double yy, double zz = 0.0);
    MVector(const double d[3]);
    MVector(const float f[3]);
    ~MVector();

    MVector& operator=(const MVector& other);
    double operator()(unsigned int index) const;
    double& operator()(unsigned int index);
    double operator[](unsigned int index) const;
    double& operator[](unsigned int index);

    MVector operator^(const MVector& right) const;
    double operator*(const MVector& right) const;
    MVector operator+(const MVector& other) const;
    MVector operator-(const MVector& other) const;
    MVector operator-() const;
    MVector operator*(double scale) const;
    MVector operator/(double scale) const;
    MVector operator*(const MMatrix& right) const;
    MVector& operator+=(const MVector& other);
    MVector& operator-=(const MVector& other);
    MVector& operator*=(double scale);
    MVector& operator/=(double scale);
    MVector& operator*=(const MMatrix& right);
    bool operator==(const MVector& other) const;
    bool operator!=(const MVector& other) const;

    MStatus get(double dest[3]) const;
    double length() const;
    MVector normal() const;
    MStatus normalize();
    double angle(const MVector& other) const;
    MVector transformAsNormal(const MMatrix& matrix) const;
    bool isEquivalent(const MVector& other, double tolerance = MVector_kTol) const;
    bool isParallel(const MVector& other, double tolerance = MVector_kTol) const;

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;
    static const MVector xNegAxis;
    static const MVector yNegAxis;
    static const MVector zNegAxis;

    double x;
    double y;
    double z;
};

MVector operator*(double scale, const MVector& vector);
// Column-vector product: matrix on the left.
MVector operator*(const MMatrix& left, const MVector& right);
std::ostream& operator<<(std::ostream& out, const MVector& vector);

OPENMAYA_NAMESPACE_CLOSE
