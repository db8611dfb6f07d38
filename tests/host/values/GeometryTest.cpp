#include <gtest/gtest.h>
#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

#include <cmath>

namespace {

const double kHalfPi = std::acos(0.0);

MMatrix translation(double x, double y, double z) {
    MMatrix m;
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
    return m;
}

MMatrix uniformScale(double s) {
    MMatrix m;
    m(0, 0) = m(1, 1) = m(2, 2) = s;
    return m;
}

TEST(VectorsAndPoints, RowVectorTimesMatrix) {
    const MMatrix moved = uniformScale(2.0) * translation(10, 20, 30);
    EXPECT_EQ(MPoint(1, 1, 1) * moved, MPoint(12, 22, 32)) << "scale first, then move";
    EXPECT_EQ(MVector(1, 1, 1) * moved, MVector(2, 2, 2)) << "vectors ignore translation";
    MPoint p(1, 0, 0);
    p *= translation(0, 1, 0);
    EXPECT_EQ(p, MPoint(1, 1, 0));
}

TEST(Matrices, ProductOrderAppliesLeftFirst) {
    const MMatrix a = translation(1, 0, 0);
    const MMatrix b = MEulerRotation(0, 0, kHalfPi).asMatrix();
    const MPoint p(1, 0, 0);
    EXPECT_TRUE((p * (a * b)).isEquivalent((p * a) * b));
    EXPECT_TRUE((p * (a * b)).isEquivalent(MPoint(0, 2, 0)));
    EXPECT_FALSE((a * b).isEquivalent(b * a));
    MMatrix c = a;
    c *= b;
    EXPECT_EQ(c, a * b);
}

TEST(EulerRotations, XyzMeansXFirst) {
    const MEulerRotation rotation(kHalfPi, kHalfPi, 0.0);
    // X turns +Y to +Z, then Y turns +Z to +X.
    EXPECT_TRUE((MPoint(0, 1, 0) * rotation.asMatrix()).isEquivalent(MPoint(1, 0, 0)));
    const MMatrix expected =
        MEulerRotation(kHalfPi, 0, 0).asMatrix() * MEulerRotation(0, kHalfPi, 0).asMatrix();
    EXPECT_TRUE(rotation.asMatrix().isEquivalent(expected));
}

TEST(TransformationMatrices, ComposesScaleRotationTranslation) {
    MTransformationMatrix transform;
    const double scale[3] = {1, 2, 3};
    const double angles[3] = {0.2, 0.4, 0.6};
    transform.setScale(scale, MSpace::kTransform);
    transform.setRotation(angles, MTransformationMatrix::kXYZ);
    transform.setTranslation(MVector(4, 5, 6), MSpace::kTransform);
    const MMatrix expected =
        transform.asScaleMatrix() * MEulerRotation(0.2, 0.4, 0.6).asMatrix() * translation(4, 5, 6);
    EXPECT_TRUE(transform.asMatrix().isEquivalent(expected));
    EXPECT_TRUE(transform.asMatrix().inverse().isEquivalent(transform.asMatrixInverse()));

    double rotation[3];
    MTransformationMatrix::RotationOrder order;
    transform.getRotation(rotation, order);
    EXPECT_EQ(order, MTransformationMatrix::kXYZ);
    EXPECT_DOUBLE_EQ(rotation[2], 0.6);
    transform.reorderRotation(MTransformationMatrix::kZXY);
    EXPECT_EQ(transform.rotationOrder(), MTransformationMatrix::kZXY);
    EXPECT_TRUE(transform.asMatrix().isEquivalent(expected, 1e-9));
}

}  // namespace
