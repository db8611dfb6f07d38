#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cmath>
#include <ostream>

const MVector MVector::zero(0.0, 0.0, 0.0);
const MVector MVector::one(1.0, 1.0, 1.0);
const MVector MVector::xAxis(1.0, 0.0, 0.0);
const MVector MVector::yAxis(0.0, 1.0, 0.0);
const MVector MVector::zAxis(0.0, 0.0, 1.0);
const MVector MVector::xNegAxis(-1.0, 0.0, 0.0);
const MVector MVector::yNegAxis(0.0, -1.0, 0.0);
const MVector MVector::zNegAxis(0.0, 0.0, -1.0);

MVector::MVector() : x(0.0), y(0.0), z(0.0) {}
MVector::MVector(const MVector& other) = default;
MVector::MVector(const MPoint& point) : x(point.x), y(point.y), z(point.z) {}
MVector::MVector(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
MVector::MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
MVector::MVector(const float f[3]) : x(f[0]), y(f[1]), z(f[2]) {}
MVector::~MVector() = default;

MVector& MVector::operator=(const MVector& other) = default;

double MVector::operator()(unsigned int index) const {
    return (*this)[index];
}
double& MVector::operator()(unsigned int index) {
    return (*this)[index];
}
double MVector::operator[](unsigned int index) const {
    return index == 0 ? x : index == 1 ? y : z;
}
double& MVector::operator[](unsigned int index) {
    return index == 0 ? x : index == 1 ? y : z;
}

MVector MVector::operator^(const MVector& right) const {
    return MVector(y * right.z - z * right.y, z * right.x - x * right.z, x * right.y - y * right.x);
}

double MVector::operator*(const MVector& right) const {
    return x * right.x + y * right.y + z * right.z;
}

MVector MVector::operator+(const MVector& other) const {
    return MVector(x + other.x, y + other.y, z + other.z);
}

MVector MVector::operator-(const MVector& other) const {
    return MVector(x - other.x, y - other.y, z - other.z);
}

MVector MVector::operator-() const {
    return MVector(-x, -y, -z);
}
MVector MVector::operator*(double scale) const {
    return MVector(x * scale, y * scale, z * scale);
}
MVector MVector::operator/(double scale) const {
    return MVector(x / scale, y / scale, z / scale);
}

MVector MVector::operator*(const MMatrix& right) const {
    const auto& m = right.matrix;
    return MVector(x * m[0][0] + y * m[1][0] + z * m[2][0], x * m[0][1] + y * m[1][1] + z * m[2][1],
                   x * m[0][2] + y * m[1][2] + z * m[2][2]);
}

MVector& MVector::operator+=(const MVector& other) {
    return *this = *this + other;
}
MVector& MVector::operator-=(const MVector& other) {
    return *this = *this - other;
}
MVector& MVector::operator*=(double scale) {
    return *this = *this * scale;
}
MVector& MVector::operator/=(double scale) {
    return *this = *this / scale;
}
MVector& MVector::operator*=(const MMatrix& right) {
    return *this = *this * right;
}

bool MVector::operator==(const MVector& other) const {
    return x == other.x && y == other.y && z == other.z;
}

bool MVector::operator!=(const MVector& other) const {
    return !(*this == other);
}

MStatus MVector::get(double dest[3]) const {
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    return MStatus::kSuccess;
}

double MVector::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

MVector MVector::normal() const {
    const double size = length();
    return size > 0.0 ? *this / size : *this;
}

MStatus MVector::normalize() {
    *this = normal();
    return MStatus::kSuccess;
}

double MVector::angle(const MVector& other) const {
    const double lengths = length() * other.length();
    if (lengths == 0.0) {
        return 0.0;
    }
    return std::acos(std::clamp((*this * other) / lengths, -1.0, 1.0));
}

MVector MVector::transformAsNormal(const MMatrix& matrix) const {
    return (*this * matrix.inverse().transpose()).normal();
}

bool MVector::isEquivalent(const MVector& other, double tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance;
}

bool MVector::isParallel(const MVector& other, double tolerance) const {
    return (normal() ^ other.normal()).length() <= tolerance;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

MVector operator*(double scale, const MVector& vector) {
    return vector * scale;
}

MVector operator*(const MMatrix& left, const MVector& right) {
    return right * left.transpose();
}

std::ostream& operator<<(std::ostream& out, const MVector& vector) {
    return out << '[' << vector.x << ", " << vector.y << ", " << vector.z << ']';
}

OPENMAYA_NAMESPACE_CLOSE
