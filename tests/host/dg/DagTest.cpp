#include "TestNodes.h"

#include <host/Faults.h>
#include <maya/MDagModifier.h>
#include <maya/MDagPath.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMatrixData.h>
#include <maya/MMatrix.h>

#include <cmath>

namespace dgtest {
namespace {

using Dag = DgTest;

MMatrix worldMatrixOf(const MString& node) {
    MPlug plug = plugOf(node + ".worldMatrix").elementByLogicalIndex(0);
    return MFnMatrixData(plug.asMObject()).matrix();
}

MMatrix translation(double x, double y, double z) {
    MMatrix matrix;
    matrix(3, 0) = x;
    matrix(3, 1) = y;
    matrix(3, 2) = z;
    return matrix;
}

TEST_F(Dag, WorldMatrixIsLocalTimesOffsetTimesParent) {
    MObject parent = createNode("transform", "parent");
    MObject child = createNode("transform", "child");
    ASSERT_EQ(MFnDagNode(parent).addChild(child), MStatus::kSuccess);
    plugOf("parent.translateX").setDouble(10.0);
    plugOf("parent.scaleX").setDouble(2.0);
    plugOf("child.translateY").setDouble(1.0);
    MFnMatrixData data;
    plugOf("child.offsetParentMatrix").setMObject(data.create(translation(0, 0, 5)));

    const MMatrix expected = translation(0, 1, 0) * translation(0, 0, 5) *
                             MFnMatrixData(plugOf("parent.matrix").asMObject()).matrix();
    EXPECT_TRUE(worldMatrixOf("child").isEquivalent(expected));
    EXPECT_DOUBLE_EQ(worldMatrixOf("child")(3, 0), 10.0);

    plugOf("parent.translateX").setDouble(-3.0);  // dirties the child's world matrix
    EXPECT_DOUBLE_EQ(worldMatrixOf("child")(3, 0), -3.0);
    MDagPath path;
    MFnDagNode(child).getPath(path);
    EXPECT_TRUE(path.inclusiveMatrix().isEquivalent(worldMatrixOf("child")));
    EXPECT_EQ(path.fullPathName(), "|parent|child");
}

TEST_F(Dag, RotationIsSetInRadiansAndCameraShapesFollowTheirTransform) {
    plugOf("persp.rotateX").setDouble(0.0);
    plugOf("persp.rotateY").setDouble(M_PI / 2);
    const MMatrix world = worldMatrixOf("perspShape");
    EXPECT_NEAR(world(0, 2), -1.0, 1e-12);  // X axis turned onto -Z
    EXPECT_DOUBLE_EQ(world(3, 0), 28.0);
    EXPECT_TRUE(world.isEquivalent(worldMatrixOf("persp")));
}

TEST_F(Dag, OffsetParentMatrixMissingInAnOlderHost) {
    ASSERT_TRUE(host::setFault(host::fault::kNoOffsetParentMatrix, true));
    MObject old = createNode("transform", "old");
    ASSERT_TRUE(host::setFault(host::fault::kNoOffsetParentMatrix, false));
    MObject current = createNode("transform", "current");
    MStatus status;
    MFnDependencyNode(old).findPlug("offsetParentMatrix", true, &status);
    EXPECT_NE(status, MStatus::kSuccess);
    MFnDependencyNode(current).findPlug("offsetParentMatrix", true, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(worldMatrixOf("old").isEquivalent(MMatrix::identity));
}

TEST_F(Dag, FunctionSetsRefuseTheWrongKindOfNode) {
    MStatus status;
    MFnDagNode dagFn(nodeNamed("time1"), &status);
    EXPECT_NE(status, MStatus::kSuccess);
    MFnDependencyNode(nodeNamed("time1"), &status);
    EXPECT_EQ(status, MStatus::kSuccess);

    MFnDependencyNode perspFn(nodeNamed("persp"));
    perspFn.findPlug("noSuchPlug", true, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_FALSE(perspFn.findPlug("tx", true).isNull());

    MFnDagNode shapeFn(nodeNamed("perspShape"));
    EXPECT_EQ(MFnDagNode(shapeFn.parent(0)).name(), "persp");
    EXPECT_TRUE(MFnDagNode(nodeNamed("persp")).parent(0).hasFn(MFn::kWorld));
}

TEST_F(Dag, ReparentingIsUndoable) {
    createNode("transform", "a");
    createNode("transform", "b");
    MDagModifier modifier;
    modifier.reparentNode(nodeNamed("b"), nodeNamed("a"));
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_EQ(MFnDagNode(nodeNamed("b")).fullPathName(), "|a|b");
    ASSERT_EQ(modifier.undoIt(), MStatus::kSuccess);
    EXPECT_EQ(MFnDagNode(nodeNamed("b")).fullPathName(), "|b");

    MDagModifier cycle;
    cycle.reparentNode(nodeNamed("a"), nodeNamed("a"));
    EXPECT_NE(cycle.doIt(), MStatus::kSuccess);
}

}  // namespace
}  // namespace dgtest
