#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>

#define MMatrix_kTol 1.0e-10

OPENMAYA_MAJOR_NAMESPACE_OPEN

// 4x4 double matrix, row-vector convention: a point p is carried as p * M, so p * (A * B)
// applies A first; the translation is the fourth row.
class MMatrix {
public:
    MMatrix();
    MMatrix(const MMatrix& src);
    MMatrix(const double m[4][4]);
    MMatrix(const float m[4][4]);
    ~MMatrix();

    MMatrix& operator=(const MMatrix& src);
    double operator()(unsigned int row, unsigned int col) const;
    double& operator()(unsigned int row, unsigned int col);
    const double* operator[](unsigned int row) const;
    double* operator[](unsigned int row);

    MStatus get(double dest[4][4]) const;
    MStatus get(float dest[4][4]) const;
    MMatrix transpose() const;
    MMatrix& setToIdentity();
    MMatrix& setToProduct(const MMatrix& left, const MMatrix& right);
    MMatrix& operator+=(const MMatrix& right);
    MMatrix operator+(const MMatrix& right) const;
    MMatrix& operator-=(const MMatrix& right);
    MMatrix operator-(const MMatrix& right) const;
    MMatrix& operator*=(const MMatrix& right);
    MMatrix operator*(const MMatrix& right) const;
    MMatrix& operator*=(double scale);
    MMatrix operator*(double scale) const;
    bool operator==(const MMatrix& other) const;
    bool operator!=(const MMatrix& other) const;

    // A singular matrix gives a matrix of non-finite values.
    MMatrix inverse() const;
    MMatrix adjoint() const;
    MMatrix homogenize() const;
    double det4x4() const;
    double det3x3() const;
    bool isEquivalent(const MMatrix& other, double tolerance = MMatrix_kTol) const;
    bool isSingular() const;

    static const MMatrix identity;

    double matrix[4][4];
};

MMatrix operator*(double scale, const MMatrix& right);
std::ostream& operator<<(std::ostream& out, const MMatrix& matrix);

OPENMAYA_NAMESPACE_CLOSE
