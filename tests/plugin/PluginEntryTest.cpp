#include "draw/CineSheetDrawOverride.h"
#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/NodeTypes.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MDrawRegistry.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <dlfcn.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string errorReport(int line) {
    return "\nAPI error detected in ../plugin at line " + std::to_string(line) + "\n";
}

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::deregisterPluginNodeType(CineSheet::id);
    }
    void TearDown() override {
        if (host::isPluginLoaded("libCineSheet")) {
            EXPECT_EQ(host::unloadPlugin("libCineSheet", true), MStatus::kSuccess);
        }
        host::newScene();
    }
};

TEST_F(PluginEntry, loadingRegistersTheNodeItsDrawingAndTheCommand) {
    std::string name;
    ASSERT_EQ(host::loadPlugin(testsupport::pluginPath(), &name), MStatus::kSuccess);
    EXPECT_EQ(name, "libCineSheet");
    EXPECT_EQ(host::pluginVersion("libCineSheet"), "1.01");
    EXPECT_TRUE(host::commandExists("cineSheet"));
    ASSERT_EQ(host::runScript("createNode CineSheet -n sheetShape", false, false),
              MStatus::kSuccess);
    MObject node;
    ASSERT_EQ(host::findNode("sheetShape", node), MStatus::kSuccess);
    // The viewport makes the override when it first draws the node. The library keeps its
    // classes to itself, so the override can only be seen as the API's.
    EXPECT_EQ(host::drawOverrideFor(node), nullptr);
    ASSERT_EQ(host::refresh(), MStatus::kSuccess);
    EXPECT_NE(host::drawOverrideFor(node), nullptr);

    ASSERT_EQ(host::unloadPlugin("libCineSheet", true), MStatus::kSuccess);
    EXPECT_FALSE(host::commandExists("cineSheet"));
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_NE(host::runScript("createNode CineSheet", false, false), MStatus::kSuccess);
}

// Maya looks up the two entry points and the version string; anything else the library exported
// could clash with the FFmpeg or other libraries loaded in the same process.
TEST_F(PluginEntry, exportsOnlyTheEntryPointsAndTheApiVersionItWasBuiltWith) {
    const auto symbols =
        testsupport::runCommand("nm -D --defined-only --format=just-symbols " +
                                testsupport::shellQuote(testsupport::pluginPath()));
    ASSERT_EQ(symbols.exitCode, 0) << symbols.err;
    std::istringstream lines(symbols.out);
    std::set<std::string> exported;
    for (std::string name; std::getline(lines, name);) {
        exported.insert(name);
    }
    // MObject is Autodesk::Maya::OpenMaya<major version>0000::MObject, as in Maya's headers.
    const std::string object =
        "N8Autodesk4Maya16OpenMaya" + std::to_string(MAYA_APP_VERSION) + "00007MObjectE";
    const std::set<std::string> expected = {"MApiVersion", "_Z16initializePlugin" + object,
                                            "_Z18uninitializePlugin" + object};
    EXPECT_EQ(exported, expected);

    void* library = dlopen(testsupport::pluginPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto* version = static_cast<const char*>(dlsym(library, "MApiVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(std::string(version), std::to_string(MAYA_API_VERSION));
    dlclose(library);
}

// Loading stops at the step that fails, with the plug-in's report and nothing later registered;
// e2e/plugin_registration.sh fails the node and command steps.
TEST_F(PluginEntry, aTakenDrawClassificationStopsLoadingAtTheDrawStep) {
    ASSERT_EQ(MHWRender::MDrawRegistry::registerDrawOverrideCreator(
                  CineSheet::drawDbClassification, "someoneElse", CineSheetDrawOverride::creator),
              MStatus::kSuccess);
    testing::internal::CaptureStderr();
    EXPECT_NE(host::loadPlugin(testsupport::pluginPath()), MStatus::kSuccess);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(errorReport(46)), std::string::npos) << errors;
    EXPECT_EQ(errors.find(errorReport(39)), std::string::npos) << errors;
    EXPECT_FALSE(host::commandExists("cineSheet"));
    EXPECT_EQ(MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(
                  CineSheet::drawDbClassification, "someoneElse"),
              MStatus::kSuccess);
}

// Unloading stops at the first step that fails, leaving the later ones registered.
TEST_F(PluginEntry, aFailedDeregistrationStopsUnloading) {
    ASSERT_EQ(host::loadPlugin(testsupport::pluginPath()), MStatus::kSuccess);
    ASSERT_EQ(MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(
                  CineSheet::drawDbClassification, CineSheet::drawRegistrantId),
              MStatus::kSuccess);
    testing::internal::CaptureStderr();
    EXPECT_NE(host::unloadPlugin("libCineSheet"), MStatus::kSuccess);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(errorReport(68)), std::string::npos) << errors;
    EXPECT_TRUE(host::commandExists("cineSheet"));
    EXPECT_EQ(host::runScript("createNode CineSheet", false, false), MStatus::kSuccess);
    // Put the creator back so that the plug-in can be unloaded.
    EXPECT_EQ(MHWRender::MDrawRegistry::registerDrawOverrideCreator(CineSheet::drawDbClassification,
                                                                    CineSheet::drawRegistrantId,
                                                                    CineSheetDrawOverride::creator),
              MStatus::kSuccess);
}

}  // namespace
