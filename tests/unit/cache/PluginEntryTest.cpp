#include "draw/CineSheetDrawOverride.h"
#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/NodeTypes.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MDrawRegistry.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <string>

namespace {

// The plug-in library this test is linked with.
std::string pluginLibrary() {
    Dl_info info{};
    EXPECT_NE(dladdr(reinterpret_cast<void*>(&CineSheet::creator), &info), 0);
    return info.dli_fname ? info.dli_fname : "";
}

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
        if (host::isPluginLoaded("CineSheet")) {
            EXPECT_EQ(host::unloadPlugin("CineSheet", true), MStatus::kSuccess);
        }
        host::newScene();
    }
};

TEST_F(PluginEntry, loadingRegistersTheNodeItsDrawingAndTheCommand) {
    std::string name;
    ASSERT_EQ(host::loadPlugin(pluginLibrary(), &name), MStatus::kSuccess);
    EXPECT_EQ(name, "CineSheet");
    EXPECT_EQ(host::pluginVersion("CineSheet"), "1.01");
    EXPECT_TRUE(host::commandExists("cineSheet"));
    ASSERT_EQ(host::runScript("createNode CineSheet -n sheetShape", false, false),
              MStatus::kSuccess);
    MObject node;
    ASSERT_EQ(host::findNode("sheetShape", node), MStatus::kSuccess);
    EXPECT_NE(dynamic_cast<CineSheetDrawOverride*>(host::drawOverrideFor(node)), nullptr);

    ASSERT_EQ(host::unloadPlugin("CineSheet", true), MStatus::kSuccess);
    EXPECT_FALSE(host::commandExists("cineSheet"));
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_NE(host::runScript("createNode CineSheet", false, false), MStatus::kSuccess);
}

TEST_F(PluginEntry, exportsTheApiVersionAndEntryPoints) {
    void* library = dlopen(pluginLibrary().c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    const auto* version = static_cast<const char*>(dlsym(library, "MApiVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version, "20180700");
    EXPECT_NE(dlsym(library, "_Z16initializePlugin7MObject"), nullptr);
    EXPECT_NE(dlsym(library, "_Z18uninitializePlugin7MObject"), nullptr);
    dlclose(library);
}

TEST_F(PluginEntry, aTakenTypeNameStopsLoadingAtTheNodeStep) {
    host::PluginNodeType other;
    other.name = CineSheet::className;
    other.id = MTypeId(0x7000);
    other.creator = CineSheet::creator;
    other.initialize = CineSheet::initialize;
    other.kind = MPxNode::kLocatorNode;
    other.pluginName = "someoneElse";
    ASSERT_EQ(host::registerPluginNodeType(other), MStatus::kSuccess);
    testing::internal::CaptureStderr();
    EXPECT_NE(host::loadPlugin(pluginLibrary()), MStatus::kSuccess);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(errorReport(39)), std::string::npos) << errors;
    EXPECT_FALSE(host::commandExists("cineSheet"));
    host::deregisterPluginNodeType(other.id);
}

TEST_F(PluginEntry, aTakenDrawClassificationStopsLoadingAtTheDrawStep) {
    ASSERT_EQ(MHWRender::MDrawRegistry::registerDrawOverrideCreator(
                  CineSheet::drawDbClassification, "someoneElse", CineSheetDrawOverride::creator),
              MStatus::kSuccess);
    testing::internal::CaptureStderr();
    EXPECT_NE(host::loadPlugin(pluginLibrary()), MStatus::kSuccess);
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
    ASSERT_EQ(host::loadPlugin(pluginLibrary()), MStatus::kSuccess);
    ASSERT_EQ(MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(
                  CineSheet::drawDbClassification, CineSheet::drawRegistrantId),
              MStatus::kSuccess);
    testing::internal::CaptureStderr();
    EXPECT_NE(host::unloadPlugin("CineSheet"), MStatus::kSuccess);
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
