#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#define MTransformationMatrix_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Transformation kept as its components; the matrix is scale * shear * rotation * translation
// in the row-vector convention (pivots are not modelled).
class MTransformationMatrix {
public:
    enum RotationOrder { kInvalid, kXYZ, kYZX, kZXY, kXZY, kYXZ, kZYX, kLast };

    MTransformationMatrix();
    MTransformationMatrix(const MTransformationMatrix& src);
    // Splits the matrix into scale, shear, rotation (XYZ order) and translation.
    MTransformationMatrix(const MMatrix& src);
    ~MTransformationMatrix();

    MTransformationMatrix& operator=(const MTransformationMatrix& src);
    MTransformationMatrix& operator=(const MMatrix& src);

    MMatrix asMatrix() const;
    MMatrix asMatrixInverse() const;
    MMatrix asScaleMatrix() const;
    MMatrix asRotateMatrix() const;

    MVector getTranslation(MSpace::Space space, MStatus* ReturnStatus = nullptr) const;
    MStatus setTranslation(const MVector& vector, MSpace::Space space);
    MStatus addTranslation(const MVector& vector, MSpace::Space space);

    MStatus getScale(double scale[3], MSpace::Space space) const;
    MStatus setScale(const double scale[3], MSpace::Space space);
    MStatus addScale(const double scale[3], MSpace::Space space);
    MStatus getShear(double shear[3], MSpace::Space space) const;
    MStatus setShear(const double shear[3], MSpace::Space space);

    MStatus getRotation(double rotation[3], RotationOrder& order) const;
    MStatus setRotation(const double rotation[3], RotationOrder order);
    MStatus addRotation(const double rotation[3], RotationOrder order, MSpace::Space space);
    MEulerRotation eulerRotation() const;
    MTransformationMatrix& rotateTo(const MEulerRotation& rotation);
    RotationOrder rotationOrder(MStatus* ReturnStatus = nullptr) const;
    // Keeps the rotation, expresses it in the new order.
    MStatus reorderRotation(const RotationOrder& order);

    bool isEquivalent(const MTransformationMatrix& other, double tolerance = MMatrix_kTol) const;
    bool operator==(const MTransformationMatrix& other) const;
    bool operator!=(const MTransformationMatrix& other) const;

    static const MTransformationMatrix identity;

private:
    double scale_[3] = {1.0, 1.0, 1.0};
    double shear_[3] = {0.0, 0.0, 0.0};
    MEulerRotation rotation_;
    MVector translation_;
};

OPENMAYA_NAMESPACE_CLOSE
