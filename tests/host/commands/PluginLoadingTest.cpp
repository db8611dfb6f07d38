#include <gtest/gtest.h>
#include <host/Commands.h>
#include <host/Messages.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>
#include <maya/MGlobal.h>

#include "TestSupport.h"

#include <cstdlib>

namespace {

std::string testPlugin() {
    return testsupport::testPluginDir() + "/libcmdtestplugin.so";
}

class PluginLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::resetMessageCounts();
    }
    void TearDown() override {
        unsetenv("CMDTEST_FAIL_AT");
        if (host::isPluginLoaded("libcmdtestplugin")) {
            host::unloadPlugin("libcmdtestplugin", true);
        }
        host::newScene();
    }
};

TEST_F(PluginLoadingTest, LoadsOnceAndUnloadsCleanly) {
    std::string name;
    ASSERT_EQ(host::loadPlugin(testPlugin(), &name), MStatus::kSuccess);
    EXPECT_EQ(name, "libcmdtestplugin");
    EXPECT_TRUE(host::isPluginLoaded("libcmdtestplugin"));
    EXPECT_EQ(host::pluginVersion("libcmdtestplugin"), "2.5");
    EXPECT_TRUE(host::commandExists("cmdTestEcho"));

    EXPECT_EQ(host::loadPlugin(testPlugin()), MStatus::kFailure);
    EXPECT_EQ(host::lastMessage(host::MessageKind::kError),
              "Plug-in \"libcmdtestplugin\" is already loaded");

    ASSERT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kSuccess);
    EXPECT_FALSE(host::isPluginLoaded("libcmdtestplugin"));
    EXPECT_FALSE(host::commandExists("cmdTestEcho"));
    EXPECT_FALSE(host::commandExists("cmdTestCounter"));
    EXPECT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kFailure);
}

// Whatever initializePlugin registered before it failed goes with the closed library.
TEST_F(PluginLoadingTest, AFailedLoadLeavesNothingBehind) {
    for (const char* step : {"node", "command"}) {
        setenv("CMDTEST_FAIL_AT", step, 1);
        EXPECT_EQ(host::loadPlugin(testPlugin()), MStatus::kFailure) << step;
        EXPECT_FALSE(host::isPluginLoaded("libcmdtestplugin")) << step;
        EXPECT_FALSE(host::commandExists("cmdTestEcho")) << step;
        EXPECT_NE(MGlobal::executeCommand("createNode cmdTestNode"), MStatus::kSuccess) << step;
    }
    unsetenv("CMDTEST_FAIL_AT");
    EXPECT_EQ(host::loadPlugin(testPlugin()), MStatus::kSuccess);
}

TEST_F(PluginLoadingTest, UnloadIsRefusedWhileItsNodesExistUnlessForced) {
    ASSERT_EQ(host::loadPlugin(testPlugin()), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("createNode cmdTestNode -n probe"), MStatus::kSuccess);
    EXPECT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kFailure);
    EXPECT_TRUE(host::isPluginLoaded("libcmdtestplugin"));
    EXPECT_EQ(host::unloadPlugin("libcmdtestplugin", true), MStatus::kSuccess);
    int exists = 1;
    EXPECT_EQ(MGlobal::executeCommand("objExists probe", exists), MStatus::kSuccess);
    EXPECT_EQ(exists, 0);
}

TEST_F(PluginLoadingTest, UndoablePluginCommandsAreUndoneAndDroppedOnUnload) {
    ASSERT_EQ(host::loadPlugin(testPlugin()), MStatus::kSuccess);
    host::UndoQueue::instance().clear();
    int count = 0;
    ASSERT_EQ(MGlobal::executeCommand("cmdTestCounter", false, true), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("cmdTestCounter", count, false, true), MStatus::kSuccess);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(host::UndoQueue::instance().undoCount(), 2u);
    ASSERT_EQ(MGlobal::executeCommand("undo"), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("cmdTestCounter -q", count), MStatus::kSuccess);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(MGlobal::executeCommand("redo"), MStatus::kSuccess);
    ASSERT_EQ(MGlobal::executeCommand("cmdTestCounter -q", count), MStatus::kSuccess);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kSuccess);
    EXPECT_EQ(host::UndoQueue::instance().undoCount(), 0u);
    EXPECT_EQ(host::UndoQueue::instance().redoCount(), 0u);
}

}  // namespace
