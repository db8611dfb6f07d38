#include <host/Scene.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>

#include <gtest/gtest.h>

namespace {

MObject nodeNamed(const char* name) {
    MSelectionList list;
    EXPECT_EQ(list.add(name), MStatus::kSuccess) << name;
    MObject node;
    list.getDependNode(0, node);
    return node;
}

TEST(DefaultScene, HasTimeResolutionAndCameras) {
    host::newScene();
    MFnDependencyNode resolution(nodeNamed("defaultResolution"));
    EXPECT_EQ(resolution.findPlug("width", true).asInt(), 1920);
    EXPECT_EQ(resolution.findPlug("height", true).asInt(), 1080);

    MObject persp = nodeNamed("persp");
    EXPECT_TRUE(persp.hasFn(MFn::kTransform));
    MFnDagNode perspFn(persp);
    MStatus status;
    MObject shape = perspFn.child(0, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(shape.hasFn(MFn::kCamera));
    MFnDependencyNode shapeFn(shape);
    EXPECT_EQ(shapeFn.name(), "perspShape");
    EXPECT_DOUBLE_EQ(shapeFn.findPlug("horizontalFilmAperture", true).asDouble(), 1.417);
    EXPECT_EQ(shapeFn.findPlug("filmFit", true).asShort(), 1);
    EXPECT_FALSE(shapeFn.findPlug("orthographic", true).asBool());
    EXPECT_TRUE(MFnDependencyNode(nodeNamed("topShape")).findPlug("orthographic", true).asBool());
}

}  // namespace
