#include "TestNodes.h"

#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMatrixData.h>

namespace dgtest {
namespace {

using GraphShape = DgTest;

TEST_F(GraphShape, PlugsNavigateCompoundsAndArrays) {
    MPlug translate = plugOf("persp.translate");
    EXPECT_TRUE(translate.isCompound());
    ASSERT_EQ(translate.numChildren(), 3u);
    EXPECT_EQ(translate.child(1).name(), "persp.translateY");
    EXPECT_EQ(translate.child(1).partialName(), "ty");
    EXPECT_EQ(translate.child(2).parent(), translate);
    MStatus status;
    translate.child(3, &status);
    EXPECT_NE(status, MStatus::kSuccess);

    MPlug world = plugOf("persp.worldMatrix");
    EXPECT_TRUE(world.isArray());
    EXPECT_EQ(world.numElements(), 1u);
    MPlug element = world.elementByLogicalIndex(0);
    EXPECT_TRUE(element.isElement());
    EXPECT_EQ(element.logicalIndex(), 0u);
    EXPECT_EQ(element.array(), world);
    EXPECT_EQ(element.partialName(true), "persp.wm[0]");
    EXPECT_EQ(translate.elementByLogicalIndex(0, &status), MPlug());
    EXPECT_NE(status, MStatus::kSuccess);
}

TEST_F(GraphShape, NamesAreNumberedWhenTheModifierRuns) {
    MDagModifier first;
    MDagModifier second;
    MObject firstNode = first.createNode("DgMarker");
    MObject secondNode = second.createNode("DgMarker");
    ASSERT_EQ(second.doIt(), MStatus::kSuccess);
    ASSERT_EQ(first.doIt(), MStatus::kSuccess);
    EXPECT_EQ(MFnDependencyNode(secondNode).name(), "dgMarker1");
    EXPECT_EQ(MFnDependencyNode(firstNode).name(), "dgMarker2");
}

TEST_F(GraphShape, ShapeUnderAGivenParentGetsNoExtraTransform) {
    MObject parent = createNode("transform", "holder");
    MDagModifier modifier;
    MStatus status;
    MObject shape = modifier.createNode("DgMarker", parent, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_TRUE(shape.hasFn(MFn::kPluginLocatorNode));
    EXPECT_EQ(MFnDagNode(shape).fullPathName(), "|holder|dgMarker1");

    plugOf("holder.translateZ").setDouble(-4.0);
    MPlug world = plugOf("dgMarker1.worldMatrix[0]");
    EXPECT_DOUBLE_EQ(MFnMatrixData(world.asMObject()).matrix()(3, 2), -4.0);

    MDagModifier refused;
    refused.createNode("dgDoubler", MObject::kNullObj, &status);
    EXPECT_NE(status, MStatus::kSuccess);
}

TEST_F(GraphShape, UnregisteringATypeRemovesItsNodes) {
    host::PluginNodeType type;
    type.name = "dgShortLived";
    type.id = MTypeId(0x7F0F0);
    type.creator = Doubler::creator;
    ASSERT_EQ(host::registerPluginNodeType(type), MStatus::kSuccess);
    createNode("dgShortLived", "brief");
    MDGModifier keeper;  // holds an undone node outside the scene
    MObject undone = keeper.createNode("dgShortLived");
    ASSERT_EQ(keeper.doIt(), MStatus::kSuccess);
    ASSERT_EQ(keeper.undoIt(), MStatus::kSuccess);

    ASSERT_EQ(host::deregisterPluginNodeType(type.id), MStatus::kSuccess);
    EXPECT_TRUE(nodeNamed("brief").isNull());
    EXPECT_EQ(MFnDependencyNode(undone).userNode(), nullptr);
    EXPECT_EQ(keeper.doIt(), MStatus::kFailure);
}

}  // namespace
}  // namespace dgtest
