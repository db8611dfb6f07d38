#include "TestNodes.h"

#include <host/Scene.h>
#include <maya/MFileIO.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MSceneMessage.h>
#include <maya/MStringArray.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dgtest {
namespace {

void run(const std::string& command) {
    ASSERT_EQ(MGlobal::executeCommand(command.c_str()), MStatus::kSuccess) << command;
}

std::vector<std::string> strings(const std::string& command) {
    MStringArray result;
    EXPECT_EQ(MGlobal::executeCommand(command.c_str(), result), MStatus::kSuccess) << command;
    std::vector<std::string> values;
    for (unsigned int i = 0; i < result.length(); ++i) {
        values.push_back(result[i].asChar());
    }
    return values;
}

std::string text(const std::string& command) {
    MString result;
    EXPECT_EQ(MGlobal::executeCommand(command.c_str(), result), MStatus::kSuccess) << command;
    return result.asChar();
}

double number(const std::string& command) {
    double result = 0.0;
    EXPECT_EQ(MGlobal::executeCommand(command.c_str(), result), MStatus::kSuccess) << command;
    return result;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// A plate scene: "rig" above "arm", a value, a connection inside the file and one to the
// scene's shared defaultResolution, saved at another time and render width than the shot's.
class ReferenceTest : public DgTest {
protected:
    void SetUp() override {
        DgTest::SetUp();
        plate_ = ::testing::TempDir() + "reference_plate.ma";
        shot_ = ::testing::TempDir() + "reference_shot.ma";
        run("createNode transform -n rig; createNode transform -n arm -p rig;"
            "setAttr rig.translateX 2; connectAttr rig.translateX arm.translateY;"
            "connectAttr defaultResolution.width arm.translateZ;"
            "setAttr defaultResolution.width 1280; currentTime 30;"
            "file -rename \"" +
            plate_ + "\"; file -save; file -new");
    }
    void TearDown() override {
        std::remove(plate_.c_str());
        std::remove(shot_.c_str());
    }
    void reference() { run("file -reference -namespace plate \"" + plate_ + "\""); }

    std::string plate_;
    std::string shot_;
};

TEST_F(ReferenceTest, NodesComeInTheirNamespaceAndAreReferenced) {
    createNode("transform", "rig");
    run("currentTime 7");
    reference();
    EXPECT_EQ(number("currentTime -q"), 7.0);
    EXPECT_EQ(number("getAttr plate:rig.translateX"), 2.0);
    EXPECT_EQ(number("getAttr plate:arm.translateY"), 2.0);
    EXPECT_EQ(number("getAttr plate:arm.translateZ"), 1920.0);
    EXPECT_EQ(strings("listRelatives -p plate:arm"), std::vector<std::string>{"plate:rig"});
    EXPECT_EQ(number("getAttr rig.translateX"), 0.0);
    EXPECT_TRUE(MFnDependencyNode(nodeNamed("plate:arm")).isFromReferencedFile());
    EXPECT_FALSE(MFnDependencyNode(nodeNamed("rig")).isFromReferencedFile());
    EXPECT_FALSE(MFnDependencyNode(nodeNamed("plateRN")).isFromReferencedFile());
    const std::pair<std::string, std::string> queries[] = {
        {"referenceQuery -isNodeReferenced plate:arm", "1"},
        {"referenceQuery -isNodeReferenced rig", "0"},
        {"referenceQuery -filename plate:rig", plate_},
        {"referenceQuery -filename plateRN", plate_},
        {"referenceQuery -referenceNode plate:arm", "plateRN"},
        {"referenceQuery -rfn \"" + plate_ + "\"", "plateRN"},
        {"nodeType plateRN", "reference"},
    };
    for (const auto& [query, expected] : queries) {
        EXPECT_EQ(text(query), expected) << query;
    }
    EXPECT_TRUE(strings("referenceQuery -editStrings plateRN").empty());
    // A second reference of the file gets a namespace of its own.
    run("file -reference -namespace plate \"" + plate_ + "\"");
    EXPECT_EQ(text("referenceQuery -referenceNode plate1:arm"), "plate1RN");
}

TEST_F(ReferenceTest, ChangesAfterTheLoadAreEditsKeptThroughSaveAndOpen) {
    reference();
    createNode("transform", "own");
    run("setAttr plate:rig.translateX 5; setAttr plate:rig.translateX 6; setAttr own.translateX 1;"
        "connectAttr own.translateX plate:rig.translateY;"
        "connectAttr own.translateX plate:rig.translateZ;"
        "disconnectAttr own.translateX plate:rig.translateZ;"
        "disconnectAttr plate:rig.translateX plate:arm.translateY");
    const std::vector<std::string> edits = {
        "setAttr \"plate:rig.translateX\" 6",
        "connectAttr \"own.translateX\" \"plate:rig.translateY\"",
        "disconnectAttr \"plate:rig.translateX\" \"plate:arm.translateY\"",
    };
    EXPECT_EQ(strings("referenceQuery -editStrings plateRN"), edits);
    EXPECT_EQ(strings("referenceQuery -editStrings plate:arm"), std::vector<std::string>{edits[2]});
    EXPECT_EQ(strings("referenceQuery -editStrings"), edits);

    run("file -rename \"" + shot_ + "\"; file -save");
    const std::string saved = fileText(shot_);
    EXPECT_NE(saved.find("file -r -ns \"plate\" -dr 1 -rfn \"plateRN\" \"" + plate_ + "\";"),
              std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("plate:arm\" -p"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("connectAttr \"own"), std::string::npos) << saved;

    run("file -open \"" + shot_ + "\"");
    EXPECT_EQ(strings("referenceQuery -editStrings plateRN"), edits);
    EXPECT_EQ(number("getAttr plate:rig.translateX"), 6.0);
    EXPECT_EQ(number("getAttr plate:rig.translateY"), 1.0);
    EXPECT_TRUE(strings("listConnections -s on -d off plate:arm.translateY").empty());
    EXPECT_TRUE(MFnDependencyNode(nodeNamed("plate:arm")).isFromReferencedFile());
    // The referenced file itself never changes.
    EXPECT_EQ(fileText(plate_).find("translateX\" 6"), std::string::npos);
}

// Which scene messages come, in order, and whether a file was being read at each.
std::vector<std::string> heard;

void hear(void* name) {
    heard.push_back(std::string(static_cast<const char*>(name)) +
                    (MFileIO::isReadingFile() ? " reading" : ""));
}

TEST_F(ReferenceTest, MessagesAndTheFileReadState) {
    const std::pair<MSceneMessage::Message, const char*> messages[] = {
        {MSceneMessage::kBeforeCreateReference, "beforeCreate"},
        {MSceneMessage::kAfterCreateReference, "afterCreate"},
        {MSceneMessage::kBeforeLoadReference, "beforeLoad"},
        {MSceneMessage::kAfterLoadReference, "afterLoad"},
        {MSceneMessage::kBeforeFileRead, "beforeRead"},
        {MSceneMessage::kAfterFileRead, "afterRead"},
        {MSceneMessage::kBeforeOpen, "beforeOpen"},
        {MSceneMessage::kAfterOpen, "afterOpen"},
    };
    std::vector<MCallbackId> ids;
    for (const auto& [message, name] : messages) {
        ids.push_back(MSceneMessage::addCallback(message, hear, const_cast<char*>(name)));
    }
    const struct {
        const char* what;
        std::vector<std::string> expected;
    } cases[] = {
        {"reference", {"beforeCreate", "beforeRead reading", "afterRead reading", "afterCreate"}},
        {"open",
         {"beforeOpen", "beforeRead reading", "beforeLoad reading", "beforeRead reading",
          "afterRead reading", "afterLoad reading", "afterRead reading", "afterOpen"}},
    };
    for (const auto& each : cases) {
        heard.clear();
        if (std::string(each.what) == "reference") {
            reference();
            run("file -rename \"" + shot_ + "\"; file -save");
        } else {
            run("file -open \"" + shot_ + "\"");
        }
        EXPECT_EQ(heard, each.expected) << each.what;
        EXPECT_FALSE(MFileIO::isReadingFile()) << each.what;
    }
    // A plug set from a callback while the scene is still being read is an edit like any other.
    const MCallbackId writer = MSceneMessage::addCallback(
        MSceneMessage::kAfterLoadReference,
        [](void*) { MGlobal::executeCommand("setAttr plate:rig.translateX 4"); });
    run("file -open \"" + shot_ + "\"");
    EXPECT_EQ(strings("referenceQuery -editStrings plateRN"),
              std::vector<std::string>{"setAttr \"plate:rig.translateX\" 4"});
    ids.push_back(writer);
    for (MCallbackId id : ids) {
        MMessage::removeCallback(id);
    }
}

}  // namespace
}  // namespace dgtest
