#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MMatrix.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#include <iosfwd>

#define kEulerRotationEpsilon 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Rotation by three angles in radians about X, Y and Z, applied in the given order.
class MEulerRotation {
public:
    enum RotationOrder { kXYZ, kYZX, kZXY, kXZY, kYXZ, kZYX };

    MEulerRotation();
    MEulerRotation(const MEulerRotation& src);
    MEulerRotation(const MVector& v, RotationOrder ord = kXYZ);
    MEulerRotation(double xx, double yy, double zz, RotationOrder ord = kXYZ);
    ~MEulerRotation();

    MEulerRotation& operator=(const MEulerRotation& other);
    MEulerRotation& setValue(const MVector& v, RotationOrder ord = kXYZ);
    MEulerRotation& setValue(double xx, double yy, double zz, RotationOrder ord = kXYZ);
    double operator[](unsigned int index) const;
    double& operator[](unsigned int index);

    MMatrix asMatrix() const;
    MVector asVector() const;
    MEulerRotation operator+(const MEulerRotation& other) const;
    MEulerRotation operator-(const MEulerRotation& other) const;
    MEulerRotation operator-() const;
    MEulerRotation operator*(double scale) const;
    bool operator==(const MEulerRotation& other) const;
    bool operator!=(const MEulerRotation& other) const;
    bool isEquivalent(const MEulerRotation& other, double tolerance = kEulerRotationEpsilon) const;
    bool isZero(double tolerance = kEulerRotationEpsilon) const;
    // Same rotation expressed in another order.
    MEulerRotation reorder(RotationOrder ord) const;
    MEulerRotation& reorderIt(RotationOrder ord);

    // Rotation part of a matrix without scale or shear, in the given order.
    static MEulerRotation decompose(const MMatrix& matrix, RotationOrder ord);

    static const MEulerRotation identity;

    double x;
    double y;
    double z;
    RotationOrder order;
};

std::ostream& operator<<(std::ostream& out, const MEulerRotation& rotation);

OPENMAYA_NAMESPACE_CLOSE
