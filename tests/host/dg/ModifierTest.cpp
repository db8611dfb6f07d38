#include "TestNodes.h"

#include <host/Scene.h>
#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dgtest {
namespace {

// Records what the scene tells its observers.
class Recorder : public host::SceneObserver {
public:
    void nodeAdded(const MObject& node) override {
        events.push_back("+" + std::string(MFnDependencyNode(node).name().asChar()));
    }
    void nodeRemoved(const MObject& node) override {
        events.push_back("-" + std::string(MFnDependencyNode(node).name().asChar()));
    }
    std::vector<std::string> events;
};

using Modifiers = DgTest;

TEST_F(Modifiers, ShapeWithoutParentGetsATransform) {
    MDagModifier modifier;
    MStatus status;
    MObject transform = modifier.createNode("DgMarker", MObject::kNullObj, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_TRUE(transform.hasFn(MFn::kTransform));
    EXPECT_TRUE(nodeNamed("dgMarker1").isNull());  // not in the scene before doIt

    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    MFnDagNode transformFn(transform);
    EXPECT_EQ(transformFn.name(), "dgMarker1");
    EXPECT_EQ(transformFn.childCount(), 1u);
    MObject shape = transformFn.child(0);
    EXPECT_TRUE(shape.hasFn(MFn::kPluginLocatorNode));
    EXPECT_TRUE(shape.hasFn(MFn::kLocator));
    EXPECT_TRUE(shape.hasFn(MFn::kDagNode));
    EXPECT_EQ(MFnDagNode(shape).name(), "dgMarkerShape1");
    EXPECT_EQ(MFnDagNode(shape).fullPathName(), "|dgMarker1|dgMarkerShape1");
    EXPECT_EQ(host::drawClassification(shape), "drawdb/geometry/DgMarker");
    MStatus childStatus;
    transformFn.child(1, &childStatus);
    EXPECT_NE(childStatus, MStatus::kSuccess);
}

TEST_F(Modifiers, UndoAndRedoBringBackTheSameNodes) {
    Recorder recorder;
    host::addSceneObserver(&recorder);
    MDagModifier modifier;
    MObject transform = modifier.createNode("DgMarker");
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    MObject shape = MFnDagNode(transform).child(0);
    MPxNode* user = MFnDependencyNode(shape).userNode();

    ASSERT_EQ(modifier.undoIt(), MStatus::kSuccess);
    EXPECT_TRUE(nodeNamed("dgMarker1").isNull());
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_EQ(nodeNamed("dgMarker1"), transform);
    EXPECT_EQ(nodeNamed("dgMarkerShape1"), shape);
    EXPECT_EQ(MFnDependencyNode(shape).userNode(), user);
    host::removeSceneObserver(&recorder);

    const std::vector<std::string> expected = {"+dgMarker1", "+dgMarkerShape1", "-dgMarkerShape1",
                                               "-dgMarker1", "+dgMarker1",      "+dgMarkerShape1"};
    EXPECT_EQ(recorder.events, expected);
}

TEST_F(Modifiers, UndoRevertsOnlyItsOwnOperationsNewestFirst) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    MDGModifier modifier;
    modifier.newPlugValueDouble(plugOf("a.input"), 2.0);
    modifier.connect(plugOf("a.sum"), plugOf("b.input"));
    modifier.renameNode(nodeNamed("b"), "renamed");
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("renamed.input").asDouble(), 7.0);

    plugOf("a.count").setInt(9);  // not the modifier's: stays after undo
    ASSERT_EQ(modifier.undoIt(), MStatus::kSuccess);
    EXPECT_FALSE(nodeNamed("b").isNull());
    EXPECT_FALSE(plugOf("b.input").isConnected());
    EXPECT_DOUBLE_EQ(plugOf("a.input").asDouble(), 1.5);
    EXPECT_EQ(plugOf("a.count").asInt(), 9);

    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("renamed.input").asDouble(), 2.0 * 2 + 9);
}

TEST_F(Modifiers, LaterDoItCarriesOutOnlyNewOperations) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    MDGModifier modifier;
    modifier.connect(plugOf("a.sum"), plugOf("b.input"));
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    modifier.connect(plugOf("a.sum"), plugOf("b.count"));
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_TRUE(plugOf("b.count").isDestination());
}

TEST_F(Modifiers, FailedConnectionMakesDoItFailButOthersHappen) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    MDGModifier modifier;
    modifier.connect(plugOf("a.text"), plugOf("b.matrixIn"));
    modifier.connect(plugOf("a.sum"), plugOf("b.input"));
    EXPECT_EQ(modifier.doIt(), MStatus::kFailure);
    EXPECT_TRUE(plugOf("b.input").isDestination());
    EXPECT_FALSE(plugOf("b.matrixIn").isDestination());
}

TEST_F(Modifiers, DeleteUndoRestoresTheNodeAndItsConnections) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    MDGModifier connections;
    connections.connect(plugOf("a.sum"), plugOf("b.input"));
    ASSERT_EQ(connections.doIt(), MStatus::kSuccess);

    MObject a = nodeNamed("a");
    MDGModifier deletion;
    deletion.deleteNode(a);
    ASSERT_EQ(deletion.doIt(), MStatus::kSuccess);
    EXPECT_TRUE(nodeNamed("a").isNull());
    EXPECT_FALSE(plugOf("b.input").isConnected());
    EXPECT_DOUBLE_EQ(plugOf("b.input").asDouble(), 6.0);  // the last value it received

    ASSERT_EQ(deletion.undoIt(), MStatus::kSuccess);
    EXPECT_EQ(nodeNamed("a"), a);
    EXPECT_TRUE(plugOf("b.input").isDestination());
}

TEST_F(Modifiers, DefaultNodesCannotBeDeleted) {
    MDGModifier deletion;
    deletion.deleteNode(nodeNamed("persp"));
    EXPECT_EQ(deletion.doIt(), MStatus::kFailure);
    EXPECT_FALSE(nodeNamed("persp").isNull());
}

TEST_F(Modifiers, NewSceneTellsObserversAboutEveryNode) {
    createNode("dgDoubler", "a");
    Recorder recorder;
    host::addSceneObserver(&recorder);
    host::newScene();
    host::removeSceneObserver(&recorder);
    EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), "-a"), 1);
    EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), "+perspShape"), 1);
    EXPECT_EQ(host::sceneNodes().size(), 10u);
}

}  // namespace
}  // namespace dgtest
