#include <gtest/gtest.h>
#include <host/Commands.h>
#include <host/Messages.h>
#include <maya/MEventMessage.h>
#include <maya/MGlobal.h>

#include "TestSupport.h"

#include <cstdlib>
#include <map>
#include <string>

// Maya's configuration-change events: raised when another OCIO configuration is loaded, by
// colorManagementPrefs -edit or by opening a scene saved under it (unless OCIO is set), and not
// for the one loaded already.
namespace {

std::map<std::string, int> raised;

void count(void* event) {
    ++raised[static_cast<const char*>(event)];
}

class ColourEvents : public ::testing::Test {
protected:
    void SetUp() override {
        MGlobal::executeCommand("colorManagementPrefs -q -configFilePath", defaultConfig_);
        for (const char* event : {"colorMgtConfigChanged", "colorMgtConfigFilePathChanged"}) {
            MStatus status;
            ids_.push_back(
                MEventMessage::addEventCallback(event, count, const_cast<char*>(event), &status));
            ASSERT_EQ(status, MStatus::kSuccess) << event;
        }
        testsupport::writeFile(other_, testsupport::readFile(defaultConfig_.asChar()));
        raised.clear();
    }
    void TearDown() override {
        for (MCallbackId id : ids_) {
            EXPECT_EQ(MMessage::removeCallback(id), MStatus::kSuccess);
        }
        unsetenv("OCIO");
        run("colorManagementPrefs -e -configFilePath \"" + std::string(defaultConfig_.asChar()) +
            "\"; hostConfig -resetColorManagement; file -f -new");
    }
    static void run(const std::string& script) {
        ASSERT_EQ(host::runScript(script, false, false), MStatus::kSuccess) << script;
    }
    std::map<std::string, int> counts(int changed, int pathChanged) const {
        return {{"colorMgtConfigChanged", changed}, {"colorMgtConfigFilePathChanged", pathChanged}};
    }

    testsupport::TempDir dir_;
    const std::string other_ = dir_.file("other.ocio");
    MString defaultConfig_;
    std::vector<MCallbackId> ids_;
};

TEST_F(ColourEvents, AnotherConfigurationIsToldOnceAndTheSameOneNot) {
    const struct {
        std::string script;
        std::map<std::string, int> after;
    } steps[] = {
        {"colorManagementPrefs -e -configFilePath \"" + other_ + "\"", counts(1, 1)},
        {"colorManagementPrefs -e -configFilePath \"" + other_ + "\"", counts(1, 1)},
        {"hostConfig -inputSpaceNames \"sRGB,Raw\"", counts(2, 1)},
        {"file -rename \"" + dir_.file("a.ma") + "\"; file -save", counts(2, 1)},
        {"colorManagementPrefs -e -configFilePath \"" + std::string(defaultConfig_.asChar()) + "\"",
         counts(3, 2)},
        {"file -f -open \"" + dir_.file("a.ma") + "\"", counts(4, 3)},
        {"file -f -open \"" + dir_.file("a.ma") + "\"", counts(4, 3)},
    };
    for (const auto& step : steps) {
        run(step.script);
        EXPECT_EQ(raised, step.after) << step.script;
    }
    MString path;
    MGlobal::executeCommand("colorManagementPrefs -q -configFilePath", path);
    EXPECT_EQ(std::string(path.asChar()), other_);
}

TEST_F(ColourEvents, TheOcioVariableOrAMissingFileKeepsTheLoadedOneWhenASceneOpens) {
    run("colorManagementPrefs -e -configFilePath \"" + other_ + "\"; file -rename \"" +
        dir_.file("a.ma") + "\"; file -save; colorManagementPrefs -e -configFilePath \"" +
        defaultConfig_.asChar() + "\"");
    raised.clear();
    setenv("OCIO", defaultConfig_.asChar(), 1);
    run("file -f -open \"" + dir_.file("a.ma") + "\"");
    unsetenv("OCIO");
    std::remove(other_.c_str());
    host::resetMessageCounts();
    run("file -f -open \"" + dir_.file("a.ma") + "\"");
    EXPECT_EQ(raised, (std::map<std::string, int>{}));
    EXPECT_EQ(host::messageCounts().warnings, 1);
    MString path;
    MGlobal::executeCommand("colorManagementPrefs -q -configFilePath", path);
    EXPECT_EQ(path, defaultConfig_);
}

TEST_F(ColourEvents, AnEventMayaDoesNotHaveIsRefused) {
    MStatus status;
    EXPECT_EQ(MEventMessage::addEventCallback("colorMgtPrefsChanged", count, nullptr, &status), 0u);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}

}  // namespace
