#include "NodeFixture.h"

#include "CineSheetScene.h"
#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/Faults.h>
#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>

#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMatrixData.h>
#include <maya/MSelectionList.h>

namespace {

const char* const pluginName = "CineSheetNodeTests";

}  // namespace

void NodeFixture::SetUp() {
    testsupport::freshSceneWithCineSheet(pluginName);
}

void NodeFixture::TearDown() {
    host::UndoQueue::instance().clear();
    host::deregisterPluginNodeType(CineSheet::id);
    host::clearFaults();
    run("hostConfig -resetColorManagement");
    host::newScene();
}

void NodeFixture::reregisterNodeType() {
    testsupport::reregisterCineSheet(pluginName);
}

void NodeFixture::run(const std::string& script) {
    ASSERT_EQ(host::runScript(script, false, false), MStatus::kSuccess) << script;
}

MObject NodeFixture::createCineSheet(MObject* transform) {
    MDagModifier modifier;
    MStatus status;
    MObject parent = modifier.createNode(CineSheet::className, MObject::kNullObj, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(modifier.doIt(), MStatus::kSuccess);
    if (transform) {
        *transform = parent;
    }
    return MFnDagNode(parent).child(0);
}

MObject NodeFixture::attachCameraTransform(const MObject& sheet) {
    MDagModifier modifier;
    const MObject camera = modifier.createNode("transform");
    EXPECT_EQ(modifier.doIt(), MStatus::kSuccess);
    MDGModifier connections;
    const MPlug worldMatrix = plug(camera, "worldMatrix").elementByLogicalIndex(0);
    EXPECT_EQ(connections.connect(worldMatrix, plug(sheet, "cameraWorldMatrix")),
              MStatus::kSuccess);
    EXPECT_EQ(connections.doIt(), MStatus::kSuccess);
    return camera;
}

MObject NodeFixture::nodeNamed(const MString& name) {
    MSelectionList list;
    MObject node;
    if (list.add(name) == MStatus::kSuccess) {
        list.getDependNode(0, node);
    }
    return node;
}

MPlug NodeFixture::plug(const MObject& node, const MString& attribute) {
    MStatus status;
    const MPlug found = MFnDependencyNode(node).findPlug(attribute, true, &status);
    EXPECT_EQ(status, MStatus::kSuccess) << attribute.asChar();
    return found;
}

MMatrix NodeFixture::matrixValue(const MPlug& plug) {
    MStatus status;
    const MObject data = plug.asMObject(&status);
    EXPECT_EQ(status, MStatus::kSuccess);
    return MFnMatrixData(data).matrix();
}

void NodeFixture::setResolution(int width, int height) {
    const MObject resolution = nodeNamed("defaultResolution");
    ASSERT_FALSE(resolution.isNull());
    ASSERT_EQ(plug(resolution, "width").setInt(width), MStatus::kSuccess);
    ASSERT_EQ(plug(resolution, "height").setInt(height), MStatus::kSuccess);
}
