#include <gtest/gtest.h>
#include <host/Commands.h>
#include <host/Messages.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>
#include <maya/MGlobal.h>

#include "ScriptResults.h"
#include "TestSupport.h"

#include <cstdlib>
#include <string>
#include <vector>

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

// Whatever initializePlugin registered before it failed goes with the closed library. A missing
// file or one that is no library is refused.
TEST_F(PluginLoadingTest, AFailedLoadLeavesNothingBehind) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("libfake.so"), "not a library");
    EXPECT_EQ(host::loadPlugin(dir.file("nothing.so")), MStatus::kFailure);
    EXPECT_EQ(host::loadPlugin(dir.file("libfake.so")), MStatus::kFailure);
    for (const char* step : {"node", "command"}) {
        setenv("CMDTEST_FAIL_AT", step, 1);
        EXPECT_EQ(host::loadPlugin(testPlugin()), MStatus::kFailure) << step;
        EXPECT_EQ(host::lastMessage(host::MessageKind::kError),
                  "initializePlugin function failed (libcmdtestplugin)");
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

// What a TD asks of a loaded plug-in and of attributes, as Maya answers; "!" starts the error a
// refused query shows.
TEST_F(PluginLoadingTest, QueriesOfPluginsAndAttributes) {
    const std::string path = testPlugin();
    ASSERT_EQ(MGlobal::executeCommand(("loadPlugin \"" + path +
                                       "\"; camera -n cam; "
                                       "createNode cmdTestNode -n probe")
                                          .c_str()),
              MStatus::kSuccess);
    const struct {
        std::string script;
        std::string answer;
    } cases[] = {
        {"pluginInfo -q -loaded libcmdtestplugin", "1"},
        {"pluginInfo -q -loaded \"" + path + "\"", "1"},
        {"pluginInfo -q -loaded libnothing", "0"},
        {"pluginInfo -q -version libcmdtestplugin", "2.5"},
        {"pluginInfo -q -version libnothing", "!pluginInfo: Plug-in \"libnothing\" is not loaded"},
        {"getAttr -asString camShape.filmFit", "Horizontal"},
        {"setAttr camShape.filmFit 3; getAttr -asString camShape.filmFit", "Overscan"},
        {"getAttr -asString probe.weight",
         "!getAttr: -asString is for enum attributes only: probe.weight"},
        {"attributeQuery -node probe -exists weight", "1"},
        {"attributeQuery -node probe -exists wt", "1"},
        {"attributeQuery -node probe -exists nothing", "0"},
        {"attributeQuery -node probe -hidden weight", "0"},
        {"attributeQuery -node probe -hidden scratch", "1"},
        {"attributeQuery -node probe -exists -hidden scratch", "1"},
        {"attributeQuery -node probe -hidden nothing",
         "!attributeQuery: no attribute named 'nothing'"},
        {"attributeQuery -type camera -exists filmFit", "1"},
        {"attributeQuery -type cmdTestNode -exists filmFit", "0"},
        {"attributeQuery -node nowhere -exists weight", "!No object matches name: nowhere"},
        {"attributeQuery -node camShape -listEnum filmFit", "Fill:Horizontal:Vertical:Overscan"},
        {"attributeQuery -node probe -listEnum weight",
         "!attributeQuery: 'weight' is not an enum attribute"},
        {"attributeQuery -exists weight", "!attributeQuery: give one of -node and -type"},
    };
    for (const auto& each : cases) {
        if (each.answer.rfind('!', 0) == 0) {
            EXPECT_EQ(scriptresults::failure(each.script), each.answer.substr(1));
        } else if (each.script.find("-listEnum") != std::string::npos) {
            EXPECT_EQ(scriptresults::strings(each.script), std::vector<std::string>{each.answer});
        } else {
            EXPECT_EQ(scriptresults::text(each.script), each.answer);
        }
    }
    EXPECT_EQ(scriptresults::strings("pluginInfo -q -command libcmdtestplugin"),
              (std::vector<std::string>{"cmdTestCounter", "cmdTestEcho"}));

    // Loading it again warns (unless -quiet) and lets the script go on.
    host::resetMessageCounts();
    EXPECT_EQ(MGlobal::executeCommand(("loadPlugin \"" + path + "\"; loadPlugin -quiet \"" + path +
                                       "\"; objExists probe")
                                          .c_str()),
              MStatus::kSuccess);
    EXPECT_EQ(host::messageCounts().warnings, 1);
    EXPECT_EQ(host::messageCounts().errors, 0);
}

}  // namespace
