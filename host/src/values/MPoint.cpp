#include <maya/MFloatPoint.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <cmath>
#include <ostream>

const MPoint MPoint::origin;

MPoint::MPoint() : x(0.0), y(0.0), z(0.0), w(1.0) {}
MPoint::MPoint(const MPoint& other) = default;
MPoint::MPoint(const MFloatPoint& other) : x(other.x), y(other.y), z(other.z), w(other.w) {}
MPoint::MPoint(const MVector& vector) : x(vector.x), y(vector.y), z(vector.z), w(1.0) {}
MPoint::MPoint(double xx, double yy, double zz, double ww) : x(xx), y(yy), z(zz), w(ww) {}
MPoint::MPoint(const double d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
MPoint::MPoint(const float f[4]) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}
MPoint::~MPoint() = default;

MPoint& MPoint::operator=(const MPoint& other) = default;

double MPoint::operator()(unsigned int index) const {
    return (*this)[index];
}
double& MPoint::operator()(unsigned int index) {
    return (*this)[index];
}

double MPoint::operator[](unsigned int index) const {
    return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
}

double& MPoint::operator[](unsigned int index) {
    return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
}

MVector MPoint::operator-(const MPoint& other) const {
    return MVector(x - other.x, y - other.y, z - other.z);
}

MPoint MPoint::operator+(const MVector& vector) const {
    return MPoint(x + vector.x, y + vector.y, z + vector.z, w);
}

MPoint MPoint::operator-(const MVector& vector) const {
    return MPoint(x - vector.x, y - vector.y, z - vector.z, w);
}

MPoint& MPoint::operator+=(const MVector& vector) {
    return *this = *this + vector;
}
MPoint& MPoint::operator-=(const MVector& vector) {
    return *this = *this - vector;
}
MPoint MPoint::operator*(double scale) const {
    return MPoint(x * scale, y * scale, z * scale, w);
}
MPoint MPoint::operator/(double scale) const {
    return MPoint(x / scale, y / scale, z / scale, w);
}

MPoint MPoint::operator*(const MMatrix& right) const {
    const auto& m = right.matrix;
    MPoint result;
    for (int col = 0; col < 4; ++col) {
        result[col] = x * m[0][col] + y * m[1][col] + z * m[2][col] + w * m[3][col];
    }
    return result;
}

MPoint& MPoint::operator*=(const MMatrix& right) {
    return *this = *this * right;
}

bool MPoint::operator==(const MPoint& other) const {
    return x == other.x && y == other.y && z == other.z && w == other.w;
}

bool MPoint::operator!=(const MPoint& other) const {
    return !(*this == other);
}

MStatus MPoint::get(double dest[4]) const {
    for (unsigned int i = 0; i < 4; ++i) {
        dest[i] = (*this)[i];
    }
    return MStatus::kSuccess;
}

MStatus MPoint::get(float dest[4]) const {
    for (unsigned int i = 0; i < 4; ++i) {
        dest[i] = static_cast<float>((*this)[i]);
    }
    return MStatus::kSuccess;
}

MPoint& MPoint::cartesianize() {
    rationalize();
    w = 1.0;
    return *this;
}

MPoint& MPoint::rationalize() {
    if (w != 0.0) {
        x /= w;
        y /= w;
        z /= w;
    }
    return *this;
}

MPoint& MPoint::homogenize() {
    x *= w;
    y *= w;
    z *= w;
    return *this;
}

double MPoint::distanceTo(const MPoint& other) const {
    return (*this - other).length();
}

bool MPoint::isEquivalent(const MPoint& other, double tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance && std::fabs(w - other.w) <= tolerance;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

MPoint operator*(double scale, const MPoint& point) {
    return point * scale;
}

MPoint operator*(const MMatrix& left, const MPoint& right) {
    return right * left.transpose();
}

std::ostream& operator<<(std::ostream& out, const MPoint& point) {
    return out << '[' << point.x << ", " << point.y << ", " << point.z << ", " << point.w << ']';
}

OPENMAYA_NAMESPACE_CLOSE
