#include "TestNodes.h"

#include "TestSupport.h"

#include <host/Commands.h>
#include <host/Messages.h>
#include <host/Scene.h>
#include <maya/MGlobal.h>

#include <string>

namespace dgtest {
namespace {

using Locks = DgTest;

MStatus run(const std::string& script) {
    return host::runScript(script, false, false);
}

// A locked plug, a child of a locked compound and a compound with a locked child refuse a value
// from a command and from the API alike; setAttr says so in Maya's words. Locking is undone and
// redone like any setAttr, and a scene saved keeps it.
TEST_F(Locks, ALockedPlugRefusesEverySet) {
    ASSERT_EQ(run("createNode transform -n box; setAttr -lock true box.translate"),
              MStatus::kSuccess);
    EXPECT_TRUE(plugOf("box.translate").isLocked());
    EXPECT_FALSE(plugOf("box.translateX").isLocked());

    host::resetMessageCounts();
    EXPECT_NE(run("setAttr box.translateX 3"), MStatus::kSuccess);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kError),
              "setAttr: The attribute 'box.translateX' is locked or connected and cannot be "
              "modified.");
    EXPECT_NE(plugOf("box.translateY").setDouble(2.0), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("box.translateY").asDouble(), 0.0);

    ASSERT_EQ(run("setAttr -lock true box.scaleZ"), MStatus::kSuccess);
    EXPECT_NE(run("setAttr box.scale 2 2 2"), MStatus::kSuccess);
    EXPECT_EQ(run("setAttr box.scaleX 2"), MStatus::kSuccess);

    int locked = 0;
    ASSERT_EQ(MGlobal::executeCommand("getAttr -lock box.translate", locked), MStatus::kSuccess);
    EXPECT_EQ(locked, 1);
    ASSERT_EQ(run("setAttr -lock false box.translate; setAttr box.translateX 3"),
              MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("box.translateX").asDouble(), 3.0);
    ASSERT_EQ(run("undo; undo"), MStatus::kSuccess);
    EXPECT_TRUE(plugOf("box.translate").isLocked());
    ASSERT_EQ(run("redo"), MStatus::kSuccess);
    EXPECT_FALSE(plugOf("box.translate").isLocked());

    ASSERT_EQ(plugOf("box.rotateX").setDouble(0.5), MStatus::kSuccess);
    ASSERT_EQ(plugOf("box.rotate").setLocked(true), MStatus::kSuccess);
    const testsupport::TempDir dir;
    const std::string scene = dir.file("locked.ma");
    ASSERT_EQ(run("file -rename \"" + scene + "\"; file -save; file -new; " + "file -open \"" +
                  scene + "\""),
              MStatus::kSuccess);
    EXPECT_TRUE(plugOf("box.rotate").isLocked());
    EXPECT_DOUBLE_EQ(plugOf("box.rotateX").asDouble(), 0.5);
    EXPECT_FALSE(plugOf("box.translate").isLocked());
}

}  // namespace
}  // namespace dgtest
