#include "TestNodes.h"

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MSelectionList.h>

namespace dgtest {
namespace {

using Naming = DgTest;

TEST_F(Naming, UnnamedNodesAreNumberedFromTheirType) {
    EXPECT_EQ(MFnDependencyNode(createNode("dgDoubler")).name(), "dgDoubler1");
    EXPECT_EQ(MFnDependencyNode(createNode("dgDoubler")).name(), "dgDoubler2");
    EXPECT_EQ(MFnDependencyNode(createNode("transform")).name(), "transform1");
}

TEST_F(Naming, HashTakesTheSmallestFreeNumber) {
    MFnDependencyNode first(createNode("dgDoubler", "plate#"));
    MFnDependencyNode second(createNode("dgDoubler", "plate#"));
    EXPECT_EQ(first.name(), "plate1");
    EXPECT_EQ(second.name(), "plate2");
    first.setName("other");
    EXPECT_EQ(MFnDependencyNode(createNode("dgDoubler", "plate#")).name(), "plate1");
    EXPECT_EQ(second.setName("x#Shape"), "x1Shape");
}

TEST_F(Naming, TakenNamesGetANumber) {
    createNode("dgDoubler", "clip");
    EXPECT_EQ(MFnDependencyNode(createNode("dgDoubler", "clip")).name(), "clip1");
    EXPECT_EQ(MFnDependencyNode(createNode("dgDoubler", "clip")).name(), "clip2");
    MFnDependencyNode renamed(createNode("dgDoubler", "free"));
    EXPECT_EQ(renamed.setName("persp"), "persp1");
    EXPECT_EQ(renamed.setName("persp1"), "persp1");
    MStatus status;
    renamed.setName("", false, &status);
    EXPECT_NE(status, MStatus::kSuccess);
}

using Selection = DgTest;

TEST_F(Selection, UnknownNamesFail) {
    MSelectionList list;
    EXPECT_EQ(list.add("noSuchNode"), MStatus::kInvalidParameter);
    EXPECT_EQ(list.add("persp.noSuchAttribute"), MStatus::kInvalidParameter);
    EXPECT_EQ(list.add("nothing*"), MStatus::kInvalidParameter);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(Selection, WildcardsMatchInCreationOrder) {
    MSelectionList list;
    ASSERT_EQ(list.add("persp*"), MStatus::kSuccess);
    ASSERT_EQ(list.length(), 2u);
    MObject first;
    list.getDependNode(0, first);
    EXPECT_EQ(MFnDependencyNode(first).name(), "persp");

    list.clear();
    ASSERT_EQ(list.add("*Shape"), MStatus::kSuccess);
    EXPECT_EQ(list.length(), 4u);
    list.add("topShape");  // already there: not added twice
    EXPECT_EQ(list.length(), 4u);
}

TEST_F(Selection, PlugsAndPathsResolve) {
    MSelectionList list;
    ASSERT_EQ(list.add("|persp|perspShape"), MStatus::kSuccess);
    ASSERT_EQ(list.add("top.translateY"), MStatus::kSuccess);
    ASSERT_EQ(list.add("side.worldMatrix[0]"), MStatus::kSuccess);
    MDagPath path;
    ASSERT_EQ(list.getDagPath(0, path), MStatus::kSuccess);
    EXPECT_EQ(path.fullPathName(), "|persp|perspShape");
    MPlug plug;
    EXPECT_EQ(list.getPlug(0, plug), MStatus::kFailure);
    ASSERT_EQ(list.getPlug(1, plug), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plug.asDouble(), 1000.1);
    ASSERT_EQ(list.getPlug(2, plug), MStatus::kSuccess);
    EXPECT_EQ(plug.name(), "side.worldMatrix[0]");
    MObject node;
    list.getDependNode(1, node);
    EXPECT_EQ(MFnDependencyNode(node).name(), "top");
}

}  // namespace
}  // namespace dgtest
