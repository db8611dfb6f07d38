#include <maya/MFloatPoint.h>
#include <maya/MPoint.h>

#include <cmath>
#include <ostream>

const MFloatPoint MFloatPoint::origin;

MFloatPoint::MFloatPoint() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
MFloatPoint::MFloatPoint(const MFloatPoint& other) = default;
MFloatPoint::MFloatPoint(float xx, float yy, float zz, float ww) : x(xx), y(yy), z(zz), w(ww) {}
MFloatPoint::MFloatPoint(const float f[4]) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}
MFloatPoint::~MFloatPoint() = default;

MFloatPoint& MFloatPoint::operator=(const MFloatPoint& other) = default;

float MFloatPoint::operator[](unsigned int index) const {
    return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
}

float& MFloatPoint::operator[](unsigned int index) {
    return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
}

bool MFloatPoint::operator==(const MFloatPoint& other) const {
    return x == other.x && y == other.y && z == other.z && w == other.w;
}

bool MFloatPoint::operator!=(const MFloatPoint& other) const {
    return !(*this == other);
}

MStatus MFloatPoint::get(float dest[4]) const {
    for (unsigned int i = 0; i < 4; ++i) {
        dest[i] = (*this)[i];
    }
    return MStatus::kSuccess;
}

MStatus MFloatPoint::setCast(const MPoint& source) {
    x = static_cast<float>(source.x);
    y = static_cast<float>(source.y);
    z = static_cast<float>(source.z);
    w = static_cast<float>(source.w);
    return MStatus::kSuccess;
}

MFloatPoint& MFloatPoint::cartesianize() {
    if (w != 0.0f) {
        x /= w;
        y /= w;
        z /= w;
    }
    w = 1.0f;
    return *this;
}

float MFloatPoint::distanceTo(const MFloatPoint& other) const {
    return std::sqrt((x - other.x) * (x - other.x) + (y - other.y) * (y - other.y) +
                     (z - other.z) * (z - other.z));
}

bool MFloatPoint::isEquivalent(const MFloatPoint& other, float tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance && std::fabs(w - other.w) <= tolerance;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MFloatPoint& point) {
    return out << '[' << point.x << ", " << point.y << ", " << point.z << ", " << point.w << ']';
}

OPENMAYA_NAMESPACE_CLOSE
