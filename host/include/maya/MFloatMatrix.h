#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>

#define MFloatMatrix_kTol 1.0e-5F

OPENMAYA_MAJOR_NAMESPACE_OPEN

// 4x4 single-precision matrix, same conventions as MMatrix.
class MFloatMatrix {
public:
    MFloatMatrix();
    MFloatMatrix(const MFloatMatrix& src);
    MFloatMatrix(const float m[4][4]);
    MFloatMatrix(const double m[4][4]);
    ~MFloatMatrix();

    MFloatMatrix& operator=(const MFloatMatrix& src);
    float operator()(unsigned int row, unsigned int col) const;
    float& operator()(unsigned int row, unsigned int col);
    const float* operator[](unsigned int row) const;
    float* operator[](unsigned int row);

    MStatus get(float dest[4][4]) const;
    MStatus get(double dest[4][4]) const;
    MFloatMatrix transpose() const;
    MFloatMatrix& setToIdentity();
    MFloatMatrix operator*(const MFloatMatrix& right) const;
    MFloatMatrix& operator*=(const MFloatMatrix& right);
    bool operator==(const MFloatMatrix& other) const;
    bool operator!=(const MFloatMatrix& other) const;
    MFloatMatrix inverse() const;
    bool isEquivalent(const MFloatMatrix& other, float tolerance = MFloatMatrix_kTol) const;

    float matrix[4][4];
};

std::ostream& operator<<(std::ostream& out, const MFloatMatrix& matrix);

OPENMAYA_NAMESPACE_CLOSE
