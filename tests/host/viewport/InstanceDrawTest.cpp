#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>

#include <host/Viewport.h>

#include <gtest/gtest.h>

#include "TestPlaneFixture.h"

#include <string>
#include <vector>

namespace {

using namespace viewporttest;

MDagPath pathTo(const char* name) {
    MDagPath path;
    MDagPath::getAPathTo(node(name), path);
    return path;
}

// The shape under "plane", instanced by "plane1" (moved 3 along X).
class InstancedPlane : public TestPlaneViewport {
protected:
    void SetUp() override {
        TestPlaneViewport::SetUp();
        ASSERT_EQ(run("instance plane"), "plane1");
        run("setAttr plane1.translateX 3");
        MDagPathArray paths;
        ASSERT_EQ(MDagPath::getAllPathsTo(node("planeShape"), paths), MStatus::kSuccess);
        ASSERT_EQ(paths.length(), 2u);
        first = paths[0];
        second = paths[1];
    }

    MDagPath first;
    MDagPath second;
};

TEST_F(InstancedPlane, BothPathsAreListedAndNamed) {
    EXPECT_EQ(run("listRelatives -allParents planeShape"), "plane plane1");
    EXPECT_EQ(run("listRelatives -ap -fullPath planeShape"), "|plane |plane1");
    EXPECT_EQ(run("listRelatives -parent planeShape"), "plane");
    EXPECT_EQ(run("listRelatives -parent \"|plane1|planeShape\""), "plane1");
    EXPECT_EQ(run("listRelatives -children plane1"), "planeShape");
    EXPECT_EQ(run("ls -long -type testPlane"), "|plane|planeShape |plane1|planeShape");
    EXPECT_EQ(run("ls -type testPlane"), "plane|planeShape plane1|planeShape");

    EXPECT_EQ(first.fullPathName(), MString("|plane|planeShape"));
    EXPECT_EQ(second.fullPathName(), MString("|plane1|planeShape"));
    EXPECT_EQ(first.instanceNumber(), 0u);
    EXPECT_EQ(second.instanceNumber(), 1u);
    EXPECT_TRUE(second.isInstanced());
    EXPECT_FALSE(pathTo("plane1").isInstanced());
    EXPECT_FALSE(first == second);
    EXPECT_EQ(MFnDagNode(node("planeShape")).parentCount(), 2u);
    EXPECT_EQ(MFnDagNode(node("planeShape")).instanceCount(true), 2u);
    EXPECT_EQ(MFnDagNode(second).fullPathName(), MString("|plane1|planeShape"));
    EXPECT_EQ(second.inclusiveMatrix()[3][0], 3.0);
    EXPECT_EQ(first.inclusiveMatrix()[3][0], 0.0);
}

TEST_F(InstancedPlane, EachPathIsPreparedAndDrawnWithItsOwnData) {
    run("refresh");
    PlaneStats stats = planeStats();
    EXPECT_EQ(madeSince(), 1) << "one override draws every instance";
    EXPECT_EQ(stats.prepares, 2);
    EXPECT_EQ(stats.draws, 2);
    EXPECT_EQ(stats.data, 2);
    MUserData* firstData = host::keptDrawData(first);
    MUserData* secondData = host::keptDrawData(second);
    ASSERT_NE(firstData, nullptr);
    ASSERT_NE(secondData, nullptr);
    EXPECT_NE(firstData, secondData);
    EXPECT_FALSE(host::latestDrawCalls(first).empty());
    EXPECT_FALSE(host::latestDrawCalls(second).empty());

    run("refresh; refresh");
    stats = planeStats();
    EXPECT_EQ(stats.prepares, 6);
    EXPECT_EQ(stats.handedBack, 4);
    EXPECT_EQ(stats.otherPath, 0) << "a path was handed another path's data";
    EXPECT_EQ(host::keptDrawData(first), firstData);
    EXPECT_EQ(host::keptDrawData(second), secondData);

    run("setAttr plane1.visibility 0; refresh");
    EXPECT_FALSE(host::latestDrawCalls(first).empty());
    EXPECT_TRUE(host::latestDrawCalls(second).empty());
    EXPECT_EQ(planeStats().prepares, 7);
}

TEST_F(InstancedPlane, DeletingAnInstanceDeletesItsDataOnly) {
    run("refresh");
    MUserData* firstData = host::keptDrawData(first);
    run("delete plane1");
    EXPECT_EQ(planeStats().data, 1);
    EXPECT_EQ(planeStats().overrides, 1);
    EXPECT_EQ(host::keptDrawData(first), firstData);
    EXPECT_EQ(run("ls -long -type testPlane"), "|plane|planeShape");

    run("undo; refresh");
    EXPECT_EQ(run("ls -long -type testPlane"), "|plane|planeShape |plane1|planeShape");
    EXPECT_EQ(planeStats().data, 2);
    EXPECT_EQ(planeStats().otherPath, 0);
    EXPECT_EQ(host::keptDrawData(first), firstData);

    run("delete planeShape");
    EXPECT_EQ(planeStats().overrides, 0);
    EXPECT_EQ(planeStats().data, 0);
    EXPECT_EQ(run("listRelatives -children plane1"), "");
}

TEST_F(InstancedPlane, UnloadingDeletesEveryPathsData) {
    run("refresh");
    EXPECT_EQ(planeStats().data, 2);
    ASSERT_EQ(host::unloadPlugin("libtestplane", true), MStatus::kSuccess);
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    ASSERT_EQ(host::loadPlugin(testsupport::testPluginDir() + "/libtestplane.so"),
              MStatus::kSuccess);
    EXPECT_EQ(planeStats().data, 0);
}

TEST_F(TestPlaneViewport, LeafInstancesCopyTransformsAndShareShapes) {
    run("createNode transform -n group; parent -relative plane group");
    EXPECT_EQ(run("instance -leaf -n copy group"), "copy");
    EXPECT_EQ(run("ls -long -type testPlane"), "|group|plane|planeShape |copy|plane1|planeShape");
    EXPECT_EQ(run("instance -n shared group"), "shared");
    EXPECT_EQ(run("listRelatives -allParents plane"), "group shared");
    EXPECT_EQ(run("ls -long -type testPlane"),
              "|group|plane|planeShape |shared|plane|planeShape |copy|plane1|planeShape");
    run("refresh");
    EXPECT_EQ(planeStats().prepares, 3);
    run("undo; undo");
    EXPECT_EQ(run("ls -long -type testPlane"), "|group|plane|planeShape");
}

}  // namespace
