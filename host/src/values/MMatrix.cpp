#include <maya/MMatrix.h>

#include <cmath>
#include <ostream>

namespace {

const double kIdentity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

// Determinant of the 3x3 matrix left when one row and one column are struck out.
double minor(const double m[4][4], int skipRow, int skipCol) {
    double sub[3][3];
    for (int r = 0, sr = 0; r < 4; ++r) {
        if (r == skipRow) {
            continue;
        }
        for (int c = 0, sc = 0; c < 4; ++c) {
            if (c != skipCol) {
                sub[sr][sc++] = m[r][c];
            }
        }
        ++sr;
    }
    return sub[0][0] * (sub[1][1] * sub[2][2] - sub[1][2] * sub[2][1]) -
           sub[0][1] * (sub[1][0] * sub[2][2] - sub[1][2] * sub[2][0]) +
           sub[0][2] * (sub[1][0] * sub[2][1] - sub[1][1] * sub[2][0]);
}

double cofactor(const double m[4][4], int row, int col) {
    return ((row + col) % 2 == 0 ? 1.0 : -1.0) * minor(m, row, col);
}

}  // namespace

const MMatrix MMatrix::identity;

MMatrix::MMatrix() : MMatrix(kIdentity) {}
MMatrix::MMatrix(const MMatrix& src) = default;

MMatrix::MMatrix(const double m[4][4]) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            matrix[r][c] = m[r][c];
        }
    }
}

MMatrix::MMatrix(const float m[4][4]) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            matrix[r][c] = m[r][c];
        }
    }
}

MMatrix::~MMatrix() = default;

MMatrix& MMatrix::operator=(const MMatrix& src) = default;

double MMatrix::operator()(unsigned int row, unsigned int col) const {
    return matrix[row][col];
}
double& MMatrix::operator()(unsigned int row, unsigned int col) {
    return matrix[row][col];
}
const double* MMatrix::operator[](unsigned int row) const {
    return matrix[row];
}
double* MMatrix::operator[](unsigned int row) {
    return matrix[row];
}

MStatus MMatrix::get(double dest[4][4]) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            dest[r][c] = matrix[r][c];
        }
    }
    return MStatus::kSuccess;
}

MStatus MMatrix::get(float dest[4][4]) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            dest[r][c] = static_cast<float>(matrix[r][c]);
        }
    }
    return MStatus::kSuccess;
}

MMatrix MMatrix::transpose() const {
    MMatrix result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            result.matrix[r][c] = matrix[c][r];
        }
    }
    return result;
}

MMatrix& MMatrix::setToIdentity() {
    return *this = identity;
}

MMatrix& MMatrix::setToProduct(const MMatrix& left, const MMatrix& right) {
    return *this = left * right;
}

MMatrix& MMatrix::operator+=(const MMatrix& right) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            matrix[r][c] += right.matrix[r][c];
        }
    }
    return *this;
}

MMatrix MMatrix::operator+(const MMatrix& right) const {
    return MMatrix(*this) += right;
}
MMatrix& MMatrix::operator-=(const MMatrix& right) {
    return *this += right * -1.0;
}
MMatrix MMatrix::operator-(const MMatrix& right) const {
    return MMatrix(*this) -= right;
}
MMatrix& MMatrix::operator*=(const MMatrix& right) {
    return *this = *this * right;
}

MMatrix MMatrix::operator*(const MMatrix& right) const {
    MMatrix result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += matrix[r][k] * right.matrix[k][c];
            }
            result.matrix[r][c] = sum;
        }
    }
    return result;
}

MMatrix& MMatrix::operator*=(double scale) {
    for (auto& row : matrix) {
        for (double& value : row) {
            value *= scale;
        }
    }
    return *this;
}

MMatrix MMatrix::operator*(double scale) const {
    return MMatrix(*this) *= scale;
}

bool MMatrix::operator==(const MMatrix& other) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (matrix[r][c] != other.matrix[r][c]) {
                return false;
            }
        }
    }
    return true;
}

bool MMatrix::operator!=(const MMatrix& other) const {
    return !(*this == other);
}

MMatrix MMatrix::inverse() const {
    return adjoint() * (1.0 / det4x4());
}

MMatrix MMatrix::adjoint() const {
    MMatrix result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            result.matrix[c][r] = cofactor(matrix, r, c);
        }
    }
    return result;
}

MMatrix MMatrix::homogenize() const {
    MMatrix result(*this);
    const double w = matrix[3][3];
    if (w != 0.0) {
        result *= 1.0 / w;
    }
    return result;
}

double MMatrix::det4x4() const {
    double sum = 0.0;
    for (int c = 0; c < 4; ++c) {
        sum += matrix[0][c] * cofactor(matrix, 0, c);
    }
    return sum;
}

double MMatrix::det3x3() const {
    return minor(matrix, 3, 3);
}

bool MMatrix::isEquivalent(const MMatrix& other, double tolerance) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (!(std::fabs(matrix[r][c] - other.matrix[r][c]) <= tolerance)) {
                return false;
            }
        }
    }
    return true;
}

bool MMatrix::isSingular() const {
    return std::fabs(det4x4()) <= MMatrix_kTol;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

MMatrix operator*(double scale, const MMatrix& right) {
    return right * scale;
}

std::ostream& operator<<(std::ostream& out, const MMatrix& matrix) {
    out << '[';
    for (int r = 0; r < 4; ++r) {
        out << (r == 0 ? "[" : ", [");
        for (int c = 0; c < 4; ++c) {
            out << (c == 0 ? "" : ", ") << matrix.matrix[r][c];
        }
        out << ']';
    }
    return out << ']';
}

OPENMAYA_NAMESPACE_CLOSE
