#include "TestNodes.h"

#include <host/Scene.h>
#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace dgtest {
namespace {

bool modified() {
    int answer = -1;
    EXPECT_EQ(MGlobal::executeCommand("file -q -modified", answer), MStatus::kSuccess);
    int any = -1;
    EXPECT_EQ(MGlobal::executeCommand("file -q -amf", any), MStatus::kSuccess);
    EXPECT_EQ(answer, any);
    return answer == 1;
}

// As typed by a user: on the undo queue.
void run(const char* command) {
    ASSERT_EQ(MGlobal::executeCommand(command, false, true), MStatus::kSuccess) << command;
}

using SceneModifiedTest = DgTest;

TEST_F(SceneModifiedTest, EveryKindOfSavableChangeSetsIt) {
    // Each change starts from a saved-looking scene with a node "a" fed by "b".
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"setAttr", [] { run("setAttr a.count 2"); }},
        {"MPlug::setValue", [] { EXPECT_EQ(plugOf("a.count").setValue(5), MStatus::kSuccess); }},
        {"MDGModifier::newPlugValueDouble",
         [] {
             MDGModifier modifier;
             modifier.newPlugValueDouble(plugOf("a.count"), 4.0);
             EXPECT_EQ(modifier.doIt(), MStatus::kSuccess);
         }},
        {"connectAttr", [] { run("connectAttr a.sum b.count"); }},
        {"disconnectAttr", [] { run("disconnectAttr b.sum a.input"); }},
        {"createNode", [] { createNode("dgDoubler", "c"); }},
        {"rename", [] { run("rename a renamed"); }},
        {"delete", [] { run("delete a"); }},
        {"reparentNode",
         [] {
             MObject top = createNode("transform", "t1");
             MObject child = createNode("transform", "t2");
             run("file -modified 0");
             MDagModifier modifier;
             modifier.reparentNode(child, top);
             EXPECT_EQ(modifier.doIt(), MStatus::kSuccess);
         }},
        {"undo", [] { run("setAttr a.count 2; file -modified 0; undo"); }},
    };
    for (const auto& change : changes) {
        host::newScene();
        createNode("dgDoubler", "a");
        createNode("dgDoubler", "b");
        run("connectAttr b.sum a.input");
        run("file -modified 0");
        ASSERT_FALSE(modified()) << change.first;
        change.second();
        EXPECT_TRUE(modified()) << change.first;
    }
}

TEST_F(SceneModifiedTest, ReadingComputingAndChangingTimeLeaveItAlone) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    run("connectAttr a.sum b.input; connectAttr time1.outTime a.time; setAttr a.input 2");
    run("file -modified 0");
    double value = 0.0;
    EXPECT_EQ(MGlobal::executeCommand("getAttr b.sum", value), MStatus::kSuccess);
    EXPECT_EQ(value, 17.0);
    EXPECT_EQ(plugOf("a.sum").asDouble(), 7.0);
    EXPECT_GT(Doubler::computeCount, 0);
    run("currentTime 12; getAttr a.time; listConnections a; ls; objExists a");
    EXPECT_FALSE(modified());
}

TEST_F(SceneModifiedTest, NewOpenAndSaveClearItAndTheFlagCanBeSet) {
    EXPECT_FALSE(modified());
    run("file -modified 1");
    EXPECT_TRUE(modified());
    run("file -new");
    EXPECT_FALSE(modified());

    const std::string path = ::testing::TempDir() + "modified_flag_scene.ma";
    run(("createNode transform -n keep; file -rename \"" + path + "\"").c_str());
    EXPECT_TRUE(modified());
    run("file -save");
    EXPECT_FALSE(modified());
    run("setAttr keep.translateX 3");
    EXPECT_TRUE(modified());
    run(("file -f -open \"" + path + "\"").c_str());
    EXPECT_FALSE(modified());
    std::remove(path.c_str());
}

}  // namespace
}  // namespace dgtest
