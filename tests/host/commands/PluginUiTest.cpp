#include <gtest/gtest.h>
#include <host/Interface.h>
#include <host/Messages.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include "TestSupport.h"

#include <cstdlib>
#include <string>
#include <vector>

// The procedures a plug-in registers with MFnPlugin::registerUI: the creation one runs after a
// successful initializePlugin and the deletion one before uninitializePlugin, the interactive
// pair in an interactive session and the batch pair in a batch one. A UI procedure that fails
// leaves the plug-in loaded.
namespace {

const char* const kLoggingProcedures = R"(
global string $uiLog[];
$uiLog = {};
global proc cmdTestCreateUI() { global string $uiLog[]; $uiLog[size($uiLog)] = "create " + `exists cmdTestEcho`; }
global proc cmdTestDeleteUI() { global string $uiLog[]; $uiLog[size($uiLog)] = "delete " + `exists cmdTestEcho`; }
global proc cmdTestCreateBatchUI() { global string $uiLog[]; $uiLog[size($uiLog)] = "createBatch"; }
global proc cmdTestDeleteBatchUI() { global string $uiLog[]; $uiLog[size($uiLog)] = "deleteBatch"; }
)";

class PluginUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("CMDTEST_UI", "1", 1);
        host::newScene();
        host::resetMessageCounts();
        ASSERT_EQ(MGlobal::executeCommand(kLoggingProcedures), MStatus::kSuccess);
    }
    void TearDown() override {
        unsetenv("CMDTEST_UI");
        unsetenv("CMDTEST_FAIL_AT");
        if (host::isPluginLoaded("libcmdtestplugin")) {
            host::unloadPlugin("libcmdtestplugin", true);
        }
        host::resetInterface();
    }

    static MStatus load() {
        return host::loadPlugin(testsupport::testPluginDir() + "/libcmdtestplugin.so");
    }
    static std::vector<std::string> log() {
        MStringArray entries;
        MGlobal::executeCommand("global string $uiLog[]; $uiLog;", entries);
        std::vector<std::string> values;
        for (unsigned int i = 0; i < entries.length(); ++i) {
            values.push_back(entries[i].asChar());
        }
        return values;
    }
};

TEST_F(PluginUiTest, ABatchSessionRunsTheBatchProcedures) {
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kBatch);
    ASSERT_EQ(load(), MStatus::kSuccess);
    EXPECT_EQ(log(), std::vector<std::string>{"createBatch"});
    ASSERT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kSuccess);
    EXPECT_EQ(log(), (std::vector<std::string>{"createBatch", "deleteBatch"}));
}

// Creation sees everything the plug-in registered; deletion runs while it still is.
TEST_F(PluginUiTest, AnInteractiveSessionRunsTheInteractiveOnes) {
    host::setInteractiveSession(true);
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kInteractive);
    ASSERT_EQ(load(), MStatus::kSuccess);
    ASSERT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kSuccess);
    EXPECT_EQ(log(), (std::vector<std::string>{"create 1", "delete 1"}));
}

TEST_F(PluginUiTest, AFailedLoadRunsNoProcedure) {
    setenv("CMDTEST_FAIL_AT", "command", 1);
    EXPECT_EQ(load(), MStatus::kFailure);
    EXPECT_TRUE(log().empty());
}

TEST_F(PluginUiTest, AFailingProcedureNeitherStopsLoadingNorUnloading) {
    host::setInteractiveSession(true);
    ASSERT_EQ(MGlobal::executeCommand("global proc cmdTestCreateUI() { error \"no menu\"; }"
                                      "global proc cmdTestDeleteUI() { error \"no menu\"; }"),
              MStatus::kSuccess);
    ASSERT_EQ(load(), MStatus::kSuccess);
    EXPECT_TRUE(host::isPluginLoaded("libcmdtestplugin"));
    EXPECT_EQ(host::lastMessage(host::MessageKind::kWarning),
              "Plug-in \"libcmdtestplugin\": its UI procedure cmdTestCreateUI failed");
    ASSERT_EQ(host::unloadPlugin("libcmdtestplugin"), MStatus::kSuccess);
    EXPECT_FALSE(host::isPluginLoaded("libcmdtestplugin"));
    EXPECT_EQ(host::messageCounts().warnings, 2);
}

}  // namespace
