#include <maya/MEulerRotation.h>

#include <algorithm>
#include <cmath>
#include <ostream>

namespace {

// Axis indices in the order they are applied, and whether that order is an odd permutation.
struct AxisSequence {
    int first;
    int second;
    int third;
    bool odd;
};

AxisSequence sequenceOf(MEulerRotation::RotationOrder order) {
    switch (order) {
        case MEulerRotation::kYZX:
            return {1, 2, 0, false};
        case MEulerRotation::kZXY:
            return {2, 0, 1, false};
        case MEulerRotation::kXZY:
            return {0, 2, 1, true};
        case MEulerRotation::kYXZ:
            return {1, 0, 2, true};
        case MEulerRotation::kZYX:
            return {2, 1, 0, true};
        case MEulerRotation::kXYZ:
            break;
    }
    return {0, 1, 2, false};
}

// Rotation about one axis for row vectors: a point p turns as p * M.
MMatrix axisRotation(int axis, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const int a = (axis + 1) % 3;
    const int b = (axis + 2) % 3;
    MMatrix m;
    m.matrix[a][a] = c;
    m.matrix[a][b] = s;
    m.matrix[b][a] = -s;
    m.matrix[b][b] = c;
    return m;
}

// Angles (about X, then Y, then Z) of a rotation R = Rx * Ry * Rz.
void decomposeXYZ(const double r[3][3], double angles[3]) {
    const double cosY = std::sqrt(r[0][0] * r[0][0] + r[0][1] * r[0][1]);
    angles[1] = std::atan2(-r[0][2], cosY);
    if (cosY > 1e-12) {
        angles[0] = std::atan2(r[1][2], r[2][2]);
        angles[2] = std::atan2(r[0][1], r[0][0]);
    } else {
        angles[0] = std::atan2(-r[2][1], r[1][1]);
        angles[2] = 0.0;
    }
}

}  // namespace

const MEulerRotation MEulerRotation::identity;

MEulerRotation::MEulerRotation() : x(0.0), y(0.0), z(0.0), order(kXYZ) {}
MEulerRotation::MEulerRotation(const MEulerRotation& src) = default;
MEulerRotation::MEulerRotation(const MVector& v, RotationOrder ord)
    : x(v.x), y(v.y), z(v.z), order(ord) {}
MEulerRotation::MEulerRotation(double xx, double yy, double zz, RotationOrder ord)
    : x(xx), y(yy), z(zz), order(ord) {}
MEulerRotation::~MEulerRotation() = default;

MEulerRotation& MEulerRotation::operator=(const MEulerRotation& other) = default;

MEulerRotation& MEulerRotation::setValue(const MVector& v, RotationOrder ord) {
    return *this = MEulerRotation(v, ord);
}

MEulerRotation& MEulerRotation::setValue(double xx, double yy, double zz, RotationOrder ord) {
    return *this = MEulerRotation(xx, yy, zz, ord);
}

double MEulerRotation::operator[](unsigned int index) const {
    return index == 0 ? x : index == 1 ? y : z;
}

double& MEulerRotation::operator[](unsigned int index) {
    return index == 0 ? x : index == 1 ? y : z;
}

MMatrix MEulerRotation::asMatrix() const {
    const AxisSequence axes = sequenceOf(order);
    return axisRotation(axes.first, (*this)[axes.first]) *
           axisRotation(axes.second, (*this)[axes.second]) *
           axisRotation(axes.third, (*this)[axes.third]);
}

MVector MEulerRotation::asVector() const {
    return MVector(x, y, z);
}

MEulerRotation MEulerRotation::operator+(const MEulerRotation& other) const {
    return MEulerRotation(x + other.x, y + other.y, z + other.z, order);
}

MEulerRotation MEulerRotation::operator-(const MEulerRotation& other) const {
    return MEulerRotation(x - other.x, y - other.y, z - other.z, order);
}

MEulerRotation MEulerRotation::operator-() const {
    return MEulerRotation(-x, -y, -z, order);
}

MEulerRotation MEulerRotation::operator*(double scale) const {
    return MEulerRotation(x * scale, y * scale, z * scale, order);
}

bool MEulerRotation::operator==(const MEulerRotation& other) const {
    return x == other.x && y == other.y && z == other.z && order == other.order;
}

bool MEulerRotation::operator!=(const MEulerRotation& other) const {
    return !(*this == other);
}

bool MEulerRotation::isEquivalent(const MEulerRotation& other, double tolerance) const {
    return order == other.order && asVector().isEquivalent(other.asVector(), tolerance);
}

bool MEulerRotation::isZero(double tolerance) const {
    return asVector().isEquivalent(MVector::zero, tolerance);
}

MEulerRotation MEulerRotation::reorder(RotationOrder ord) const {
    return decompose(asMatrix(), ord);
}

MEulerRotation& MEulerRotation::reorderIt(RotationOrder ord) {
    *this = reorder(ord);
    return *this;
}

MEulerRotation MEulerRotation::decompose(const MMatrix& matrix, RotationOrder ord) {
    // Relabel the axes so that the order becomes XYZ; an odd relabelling mirrors the space,
    // which turns every angle the other way.
    const AxisSequence axes = sequenceOf(ord);
    const int index[3] = {axes.first, axes.second, axes.third};
    double relabelled[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            relabelled[r][c] = matrix.matrix[index[r]][index[c]];
        }
    }
    double angles[3];
    decomposeXYZ(relabelled, angles);
    const double sign = axes.odd ? -1.0 : 1.0;
    MEulerRotation result(0.0, 0.0, 0.0, ord);
    for (int i = 0; i < 3; ++i) {
        result[index[i]] = sign * angles[i];
    }
    return result;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MEulerRotation& rotation) {
    return out << rotation.asVector();
}

OPENMAYA_NAMESPACE_CLOSE
