#include <maya/MTransformationMatrix.h>

namespace {

MEulerRotation::RotationOrder toEulerOrder(MTransformationMatrix::RotationOrder order) {
    return static_cast<MEulerRotation::RotationOrder>(order - MTransformationMatrix::kXYZ);
}

MTransformationMatrix::RotationOrder fromEulerOrder(MEulerRotation::RotationOrder order) {
    return static_cast<MTransformationMatrix::RotationOrder>(order + MTransformationMatrix::kXYZ);
}

bool isValidOrder(MTransformationMatrix::RotationOrder order) {
    return order > MTransformationMatrix::kInvalid && order < MTransformationMatrix::kLast;
}

bool isValidSpace(MSpace::Space space) {
    return space > MSpace::kInvalid && space < MSpace::kLast;
}

MVector row(const MMatrix& m, int r) {
    return MVector(m.matrix[r][0], m.matrix[r][1], m.matrix[r][2]);
}

// Unit direction of v with its length; a zero vector keeps the fallback direction.
MVector unitOr(const MVector& v, const MVector& fallback, double& length) {
    length = v.length();
    return length > 0.0 ? v / length : fallback;
}

}  // namespace

const MTransformationMatrix MTransformationMatrix::identity;

MTransformationMatrix::MTransformationMatrix() = default;
MTransformationMatrix::MTransformationMatrix(const MTransformationMatrix& src) = default;
MTransformationMatrix::MTransformationMatrix(const MMatrix& src) {
    *this = src;
}
MTransformationMatrix::~MTransformationMatrix() = default;

MTransformationMatrix& MTransformationMatrix::operator=(const MTransformationMatrix& src) = default;

MTransformationMatrix& MTransformationMatrix::operator=(const MMatrix& src) {
    // Rows of the upper 3x3 are scale * (shear * rotation): peel them apart by Gram-Schmidt.
    const MVector r0 = unitOr(row(src, 0), MVector::xAxis, scale_[0]);
    const MVector r1Raw = row(src, 1);
    const double along0 = r1Raw * r0;
    const MVector r1 = unitOr(r1Raw - r0 * along0, MVector::yAxis, scale_[1]);
    const MVector r2Raw = row(src, 2);
    const double r2Along0 = r2Raw * r0;
    const double r2Along1 = r2Raw * r1;
    MVector r2 = unitOr(r2Raw - r0 * r2Along0 - r1 * r2Along1, r0 ^ r1, scale_[2]);
    shear_[0] = scale_[1] != 0.0 ? along0 / scale_[1] : 0.0;
    shear_[1] = scale_[2] != 0.0 ? r2Along0 / scale_[2] : 0.0;
    shear_[2] = scale_[2] != 0.0 ? r2Along1 / scale_[2] : 0.0;
    if ((r0 ^ r1) * r2 < 0.0) {
        // A mirroring matrix: carry the reflection as a negative Z scale.
        r2 = -r2;
        scale_[2] = -scale_[2];
        shear_[1] = -shear_[1];
        shear_[2] = -shear_[2];
    }
    MMatrix rotation;
    const MVector axes[3] = {r0, r1, r2};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            rotation.matrix[r][c] = axes[r][c];
        }
    }
    rotation_ = MEulerRotation::decompose(rotation, MEulerRotation::kXYZ);
    translation_ = row(src, 3);
    return *this;
}

MMatrix MTransformationMatrix::asMatrix() const {
    MMatrix translation;
    for (unsigned int c = 0; c < 3; ++c) {
        translation.matrix[3][c] = translation_[c];
    }
    return asScaleMatrix() * asRotateMatrix() * translation;
}

MMatrix MTransformationMatrix::asMatrixInverse() const {
    return asMatrix().inverse();
}

MMatrix MTransformationMatrix::asScaleMatrix() const {
    MMatrix scale;
    MMatrix shear;
    for (int i = 0; i < 3; ++i) {
        scale.matrix[i][i] = scale_[i];
    }
    shear.matrix[1][0] = shear_[0];
    shear.matrix[2][0] = shear_[1];
    shear.matrix[2][1] = shear_[2];
    return scale * shear;
}

MMatrix MTransformationMatrix::asRotateMatrix() const {
    return rotation_.asMatrix();
}

MVector MTransformationMatrix::getTranslation(MSpace::Space space, MStatus* ReturnStatus) const {
    if (ReturnStatus != nullptr) {
        *ReturnStatus = isValidSpace(space) ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    return translation_;
}

MStatus MTransformationMatrix::setTranslation(const MVector& vector, MSpace::Space space) {
    if (!isValidSpace(space)) {
        return MStatus::kInvalidParameter;
    }
    translation_ = vector;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addTranslation(const MVector& vector, MSpace::Space space) {
    return setTranslation(translation_ + vector, space);
}

MStatus MTransformationMatrix::getScale(double scale[3], MSpace::Space space) const {
    if (!isValidSpace(space)) {
        return MStatus::kInvalidParameter;
    }
    for (int i = 0; i < 3; ++i) {
        scale[i] = scale_[i];
    }
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setScale(const double scale[3], MSpace::Space space) {
    if (!isValidSpace(space)) {
        return MStatus::kInvalidParameter;
    }
    for (int i = 0; i < 3; ++i) {
        scale_[i] = scale[i];
    }
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addScale(const double scale[3], MSpace::Space space) {
    const double sum[3] = {scale_[0] + scale[0], scale_[1] + scale[1], scale_[2] + scale[2]};
    return setScale(sum, space);
}

MStatus MTransformationMatrix::getShear(double shear[3], MSpace::Space space) const {
    if (!isValidSpace(space)) {
        return MStatus::kInvalidParameter;
    }
    for (int i = 0; i < 3; ++i) {
        shear[i] = shear_[i];
    }
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setShear(const double shear[3], MSpace::Space space) {
    if (!isValidSpace(space)) {
        return MStatus::kInvalidParameter;
    }
    for (int i = 0; i < 3; ++i) {
        shear_[i] = shear[i];
    }
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::getRotation(double rotation[3], RotationOrder& order) const {
    rotation_.asVector().get(rotation);
    order = fromEulerOrder(rotation_.order);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setRotation(const double rotation[3], RotationOrder order) {
    if (!isValidOrder(order)) {
        return MStatus::kInvalidParameter;
    }
    rotation_ = MEulerRotation(MVector(rotation), toEulerOrder(order));
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addRotation(const double rotation[3], RotationOrder order,
                                           MSpace::Space space) {
    if (!isValidOrder(order) || !isValidSpace(space)) {
        return MStatus::kInvalidParameter;
    }
    const MEulerRotation added(MVector(rotation), toEulerOrder(order));
    rotation_ = MEulerRotation::decompose(rotation_.asMatrix() * added.asMatrix(), rotation_.order);
    return MStatus::kSuccess;
}

MEulerRotation MTransformationMatrix::eulerRotation() const {
    return rotation_;
}

MTransformationMatrix& MTransformationMatrix::rotateTo(const MEulerRotation& rotation) {
    rotation_ = rotation;
    return *this;
}

MTransformationMatrix::RotationOrder MTransformationMatrix::rotationOrder(
    MStatus* ReturnStatus) const {
    if (ReturnStatus != nullptr) {
        *ReturnStatus = MStatus::kSuccess;
    }
    return fromEulerOrder(rotation_.order);
}

MStatus MTransformationMatrix::reorderRotation(const RotationOrder& order) {
    if (!isValidOrder(order)) {
        return MStatus::kInvalidParameter;
    }
    rotation_.reorderIt(toEulerOrder(order));
    return MStatus::kSuccess;
}

bool MTransformationMatrix::isEquivalent(const MTransformationMatrix& other,
                                         double tolerance) const {
    return asMatrix().isEquivalent(other.asMatrix(), tolerance);
}

bool MTransformationMatrix::operator==(const MTransformationMatrix& other) const {
    return asMatrix() == other.asMatrix();
}

bool MTransformationMatrix::operator!=(const MTransformationMatrix& other) const {
    return !(*this == other);
}
