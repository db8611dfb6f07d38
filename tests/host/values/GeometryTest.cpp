#include <gtest/gtest.h>
#include <maya/MEulerRotation.h>
#include <maya/MFloatMatrix.h>
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

TEST(VectorsAndPoints, Arithmetic) {
    const MVector x(1, 0, 0);
    const MVector y(0, 1, 0);
    EXPECT_EQ(x ^ y, MVector(0, 0, 1));
    EXPECT_DOUBLE_EQ(MVector(1, 2, 3) * MVector(4, 5, 6), 32.0);
    EXPECT_DOUBLE_EQ(MVector(3, 4, 0).length(), 5.0);
    EXPECT_TRUE(MVector(0, 0, 2).normal().isEquivalent(MVector::zAxis));
    EXPECT_EQ(MVector::zero.normal(), MVector::zero);
    EXPECT_EQ(MPoint(4, 5, 6) - MPoint(1, 1, 1), MVector(3, 4, 5));
    EXPECT_EQ(MPoint(1, 1, 1) + MVector(1, 2, 3), MPoint(2, 3, 4));
    EXPECT_EQ(MPoint(2, 4, 6, 2).cartesianize(), MPoint(1, 2, 3, 1));
    EXPECT_EQ(MPoint(1, 2), MPoint(1, 2, 0, 1));
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

TEST(Matrices, InverseTransposeDeterminant) {
    const double values[4][4] = {{2, 0, 0, 0}, {1, 3, 0, 0}, {0, 1, 4, 0}, {5, 6, 7, 1}};
    const MMatrix m(values);
    EXPECT_DOUBLE_EQ(m.det4x4(), 24.0);
    EXPECT_DOUBLE_EQ(m.det3x3(), 24.0);
    EXPECT_TRUE((m * m.inverse()).isEquivalent(MMatrix::identity));
    EXPECT_TRUE((m.inverse() * m).isEquivalent(MMatrix::identity));
    EXPECT_DOUBLE_EQ(m.transpose()(0, 1), 1.0);
    EXPECT_DOUBLE_EQ(m[3][2], 7.0);
    EXPECT_TRUE(MMatrix().isEquivalent(MMatrix::identity, 0.0));
    MMatrix changed = m;
    changed.setToIdentity();
    EXPECT_EQ(changed, MMatrix::identity);
    EXPECT_NE(m, MMatrix::identity);
    EXPECT_FALSE(m.isEquivalent(m * 1.001, 1e-6));
    const MFloatMatrix f(values);
    EXPECT_TRUE((f * f.inverse()).isEquivalent(MFloatMatrix()));
}

TEST(EulerRotations, OrdersComposeAndDecomposeBack) {
    const MEulerRotation::RotationOrder orders[] = {MEulerRotation::kXYZ, MEulerRotation::kYZX,
                                                    MEulerRotation::kZXY, MEulerRotation::kXZY,
                                                    MEulerRotation::kYXZ, MEulerRotation::kZYX};
    for (auto order : orders) {
        const MEulerRotation rotation(0.3, -0.7, 1.1, order);
        const MEulerRotation back = MEulerRotation::decompose(rotation.asMatrix(), order);
        EXPECT_TRUE(back.isEquivalent(rotation, 1e-9)) << "order " << order << ": " << back;
        EXPECT_TRUE(rotation.reorder(MEulerRotation::kZYX)
                        .asMatrix()
                        .isEquivalent(rotation.asMatrix(), 1e-9));
    }
}

TEST(EulerRotations, XyzMeansXFirst) {
    const MEulerRotation rotation(kHalfPi, kHalfPi, 0.0);
    // X turns +Y to +Z, then Y turns +Z to +X.
    EXPECT_TRUE((MPoint(0, 1, 0) * rotation.asMatrix()).isEquivalent(MPoint(1, 0, 0)));
    const MMatrix expected =
        MEulerRotation(kHalfPi, 0, 0).asMatrix() * MEulerRotation(0, kHalfPi, 0).asMatrix();
    EXPECT_TRUE(rotation.asMatrix().isEquivalent(expected));
}

TEST(TransformationMatrices, ScaleAndTranslationLayout) {
    MTransformationMatrix transform;
    EXPECT_EQ(transform.asMatrix(), MMatrix::identity);
    const double scale[3] = {2.5, 2.5, 2.5};
    EXPECT_EQ(transform.setScale(scale, MSpace::kWorld), MStatus::kSuccess);
    EXPECT_EQ(transform.setTranslation(MVector(1, 2, -100), MSpace::kWorld), MStatus::kSuccess);
    const double expected[4][4] = {{2.5, 0, 0, 0}, {0, 2.5, 0, 0}, {0, 0, 2.5, 0}, {1, 2, -100, 1}};
    EXPECT_EQ(transform.asMatrix(), MMatrix(expected));
    EXPECT_EQ(transform.getTranslation(MSpace::kWorld), MVector(1, 2, -100));
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

TEST(TransformationMatrices, DecomposesAMatrix) {
    MTransformationMatrix source;
    const double scale[3] = {2, -3, 0.5};
    const double shear[3] = {0.1, 0.2, 0.3};
    const double angles[3] = {-0.5, 0.25, 1.5};
    source.setScale(scale, MSpace::kTransform);
    source.setShear(shear, MSpace::kTransform);
    source.setRotation(angles, MTransformationMatrix::kXYZ);
    source.setTranslation(MVector(7, 8, 9), MSpace::kTransform);

    const MTransformationMatrix split(source.asMatrix());
    EXPECT_TRUE(split.asMatrix().isEquivalent(source.asMatrix(), 1e-9));
    EXPECT_EQ(split.getTranslation(MSpace::kTransform), MVector(7, 8, 9));

    const MTransformationMatrix plain(uniformScale(4.0) * translation(1, 2, 3));
    double back[3];
    plain.getScale(back, MSpace::kTransform);
    EXPECT_DOUBLE_EQ(back[0], 4.0);
    EXPECT_DOUBLE_EQ(back[2], 4.0);
    EXPECT_TRUE(plain.eulerRotation().isZero());
}

TEST(TransformationMatrices, RejectsInvalidArguments) {
    MTransformationMatrix transform;
    const double values[3] = {1, 1, 1};
    EXPECT_NE(transform.setRotation(values, MTransformationMatrix::kInvalid), MStatus::kSuccess);
    EXPECT_NE(transform.setScale(values, MSpace::kInvalid), MStatus::kSuccess);
}

}  // namespace
