#include <maya/MFloatMatrix.h>
#include <maya/MMatrix.h>

#include <ostream>

namespace {

MMatrix widen(const MFloatMatrix& m) {
    return MMatrix(m.matrix);
}

MFloatMatrix narrow(const MMatrix& m) {
    float values[4][4];
    m.get(values);
    return MFloatMatrix(values);
}

}  // namespace

MFloatMatrix::MFloatMatrix() {
    setToIdentity();
}
MFloatMatrix::MFloatMatrix(const MFloatMatrix& src) = default;

MFloatMatrix::MFloatMatrix(const float m[4][4]) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            matrix[r][c] = m[r][c];
        }
    }
}

MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    MMatrix(m).get(matrix);
}

MFloatMatrix::~MFloatMatrix() = default;

MFloatMatrix& MFloatMatrix::operator=(const MFloatMatrix& src) = default;

float MFloatMatrix::operator()(unsigned int row, unsigned int col) const {
    return matrix[row][col];
}

float& MFloatMatrix::operator()(unsigned int row, unsigned int col) {
    return matrix[row][col];
}
const float* MFloatMatrix::operator[](unsigned int row) const {
    return matrix[row];
}
float* MFloatMatrix::operator[](unsigned int row) {
    return matrix[row];
}

MStatus MFloatMatrix::get(float dest[4][4]) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            dest[r][c] = matrix[r][c];
        }
    }
    return MStatus::kSuccess;
}

MStatus MFloatMatrix::get(double dest[4][4]) const {
    return widen(*this).get(dest);
}

MFloatMatrix MFloatMatrix::transpose() const {
    return narrow(widen(*this).transpose());
}

MFloatMatrix& MFloatMatrix::setToIdentity() {
    return *this = narrow(MMatrix::identity);
}

MFloatMatrix MFloatMatrix::operator*(const MFloatMatrix& right) const {
    return narrow(widen(*this) * widen(right));
}

MFloatMatrix& MFloatMatrix::operator*=(const MFloatMatrix& right) {
    return *this = *this * right;
}

bool MFloatMatrix::operator==(const MFloatMatrix& other) const {
    return widen(*this) == widen(other);
}

bool MFloatMatrix::operator!=(const MFloatMatrix& other) const {
    return !(*this == other);
}

MFloatMatrix MFloatMatrix::inverse() const {
    return narrow(widen(*this).inverse());
}

bool MFloatMatrix::isEquivalent(const MFloatMatrix& other, float tolerance) const {
    return widen(*this).isEquivalent(widen(other), tolerance);
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MFloatMatrix& matrix) {
    return out << widen(matrix);
}

OPENMAYA_NAMESPACE_CLOSE
