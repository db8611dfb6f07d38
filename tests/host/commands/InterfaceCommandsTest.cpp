#include <gtest/gtest.h>
#include <host/Interface.h>
#include <host/Messages.h>
#include <host/Scene.h>
#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include "ScriptResults.h"

#include "TestSupport.h"

#include <string>
#include <vector>

// The recorded user interface: what UI commands build in an interactive session and refuse in
// a batch one, Attribute Editor layouts, the file dialog, display filters and the workspace.
namespace {

using scriptresults::failure;
using scriptresults::strings;
using scriptresults::text;

class InterfaceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::resetInterface();
        host::resetMessageCounts();
    }
    void TearDown() override { host::resetInterface(); }

    static void run(const std::string& script) {
        EXPECT_EQ(MGlobal::executeCommand(script.c_str()), MStatus::kSuccess) << script;
    }
};

TEST_F(InterfaceCommandsTest, ABatchSessionHasNoUserInterface) {
    EXPECT_EQ(text("about -batch"), "1");
    EXPECT_EQ(text("menuItem -exists anything"), "0");
    EXPECT_EQ(failure("menu -label \"Mine\" mine"),
              "menu: there is no user interface in a batch session");
    EXPECT_EQ(failure("fileDialog2 -fileMode 1"),
              "fileDialog2: there is no user interface in a batch session");
    EXPECT_EQ(text("getPanel -withFocus"), "");
    EXPECT_TRUE(strings("getPanel -visiblePanels").empty());
    run("pluginDisplayFilter -register -label \"Mine\" -classification \"drawdb/geometry/m\" m");
    EXPECT_EQ(text("pluginDisplayFilter -exists m"), "1");
}

TEST_F(InterfaceCommandsTest, MenusHoldTheirItemsUntilDeleted) {
    host::setInteractiveSession(true);
    EXPECT_EQ(text("about -batch"), "0");
    EXPECT_EQ(text("global string $gMainCreateMenu; $gMainCreateMenu"), "mainCreateMenu");
    EXPECT_EQ(text("menu -q -label mainCreateMenu"), "Create");
    EXPECT_EQ(text("menu -q -numberOfItems mainCreateMenu"), "0");

    run("menuItem -parent mainCreateMenu -label \"First\" -command \"print 1\" first");
    run("setParent -menu mainCreateMenu; menuItem -divider true second");
    EXPECT_EQ(strings("menu -q -itemArray mainCreateMenu"),
              (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(text("menuItem -q -command first"), "print 1");
    EXPECT_EQ(text("menuItem -q -divider second"), "1");
    run("menuItem -e -label \"Renamed\" first");
    EXPECT_EQ(text("menuItem -q -label first"), "Renamed");
    EXPECT_EQ(failure("menuItem -parent mainCreateMenu first"),
              "menuItem: Object's name 'first' is not unique.");
    EXPECT_EQ(failure("menuItem -parent nowhere third"), "menuItem: parent 'nowhere' not found.");

    EXPECT_EQ(failure("deleteUI -menuItem mainCreateMenu"),
              "deleteUI: Object 'mainCreateMenu' not found.");
    run("deleteUI -menuItem second");
    EXPECT_EQ(text("menuItem -exists second"), "0");
    run("menu -label \"Mine\" mine; menuItem inMine; menu -e -deleteAllItems mine");
    EXPECT_EQ(text("menu -q -numberOfItems mine"), "0");
    run("deleteUI -menu mainCreateMenu");
    EXPECT_EQ(text("menuItem -exists first"), "0") << "an item goes with its menu";

    host::setInteractiveSession(false);
    EXPECT_EQ(text("menu -exists mine"), "0") << "the main window goes with the session";
}

// Maya fills the Create menu when it first opens, through ModCreateMenu; a plug-in adding items
// calls it first. It fills an empty menu once and leaves a filled one alone.
TEST_F(InterfaceCommandsTest, ModCreateMenuFillsTheCreateMenuOnce) {
    host::setInteractiveSession(true);
    run("ModCreateMenu mainCreateMenu");
    const std::vector<std::string> items = strings("menu -q -itemArray mainCreateMenu");
    EXPECT_FALSE(items.empty());
    run("menuItem -parent mainCreateMenu mine; ModCreateMenu mainCreateMenu");
    std::vector<std::string> withMine = items;
    withMine.push_back("mine");
    EXPECT_EQ(strings("menu -q -itemArray mainCreateMenu"), withMine);
    host::setInteractiveSession(false);
}

TEST_F(InterfaceCommandsTest, ControlsAreEditedAndQueriedByName) {
    host::setInteractiveSession(true);
    run("global string $layout; $layout = `menu box`; setParent box;"
        "textFieldButtonGrp -label \"File\" -text \"a.mov\" -buttonCommand \"browse\" field;"
        "button -label \"Go\" -command \"go\" go;");
    EXPECT_EQ(text("textFieldButtonGrp -q -text field"), "a.mov");
    run("textFieldButtonGrp -e -text \"b.mov\" field");
    EXPECT_EQ(text("textFieldButtonGrp -q -text field"), "b.mov");
    EXPECT_EQ(text("textFieldButtonGrp -q -buttonCommand field"), "browse");
    EXPECT_EQ(host::findUiElement("go")->parent, "box");
    EXPECT_EQ(text("setParent .."), "MayaWindow");
    EXPECT_EQ(failure("button -q -label field"), "button: Object 'field' not found.");
    run("deleteUI -control field go");
    EXPECT_EQ(host::findUiElement("field"), nullptr);
}

TEST_F(InterfaceCommandsTest, TheFileDialogAnswersWhatTheTestSet) {
    host::setInteractiveSession(true);
    run("hostUi -fileDialogAnswer \"/footage/a.mov\"");
    EXPECT_EQ(strings("fileDialog2 -fileMode 1 -caption \"Pick\" -fileFilter \"Videos (*.mov)\""),
              std::vector<std::string>{"/footage/a.mov"});
    EXPECT_EQ(
        strings("hostUi -lastFileDialog"),
        (std::vector<std::string>{"fileMode=1", "caption=Pick", "fileFilter=Videos (*.mov)"}));
    run("hostUi -fileDialogAnswer \"\"");
    EXPECT_EQ(text("string $chosen[] = `fileDialog2 -fileMode 1`; size($chosen)"), "0");
}

// The template runs once per node type; later nodes of the type reuse its layout.
TEST_F(InterfaceCommandsTest, TheAttributeEditorIsBuiltOncePerNodeType) {
    host::setInteractiveSession(true);
    run(R"(
        global string $calls[];
        global proc AEtransformTemplate(string $node) {
            global string $calls[];
            $calls[size($calls)] = "template " + $node;
            editorTemplate -beginLayout "Moves" -collapse 0;
            editorTemplate -callCustom "movesNew" "movesReplace" "translateX" "translateY";
            editorTemplate -addControl "translateZ";
            editorTemplate -dimControl $node "translateZ" true;
            editorTemplate -endLayout;
            editorTemplate -suppress "visibility";
            AEdependNodeTemplate $node;
            AEshapeTemplate $node;
            editorTemplate -addExtraControls;
        }
        global proc movesNew(string $x, string $y) {
            global string $calls[];
            $calls[size($calls)] = "new " + $x + " " + $y;
        }
        global proc movesReplace(string $x, string $y) {
            global string $calls[];
            $calls[size($calls)] = "replace " + $x + " " + $y;
        }
        createNode transform -n one; createNode transform -n two;
        showEditor one; showEditor two;)");
    EXPECT_EQ(strings("global string $calls[]; $calls"),
              (std::vector<std::string>{"template one", "new one.translateX one.translateY",
                                        "replace two.translateX two.translateY"}));
    EXPECT_EQ(
        host::attributeEditorEntries(),
        (std::vector<std::string>{
            "beginLayout Moves", "callCustom movesNew movesReplace translateX translateY",
            "addControl translateZ", "dimControl translateZ 1", "endLayout", "suppress visibility",
            "AEdependNodeTemplate", "AEshapeTemplate", "addExtraControls"}));
    EXPECT_EQ(failure("showEditor nobody"), "showEditor: No object matches name: nobody");
}

TEST_F(InterfaceCommandsTest, DisplayFiltersHideWhatTheirClassificationCovers) {
    host::setInteractiveSession(true);
    run("pluginDisplayFilter -register -label \"Sheets\" -classification \"drawdb/geometry/s\" f");
    EXPECT_EQ(text("pluginDisplayFilter -q -label f"), "Sheets");
    EXPECT_EQ(text("modelEditor -q -pluginObjects f modelPanel4"), "1");
    run("modelEditor -e -pluginObjects f false modelPanel4");
    EXPECT_EQ(text("modelEditor -q -pluginObjects f modelPanel4"), "0");
    EXPECT_FALSE(host::drawnByDisplayFilters("drawdb/geometry/s"));
    EXPECT_FALSE(host::drawnByDisplayFilters("drawdb/geometry/s/detail"));
    EXPECT_TRUE(host::drawnByDisplayFilters("drawdb/geometry/sheet"));
    EXPECT_EQ(failure("modelEditor -e -pluginObjects unknown false modelPanel4"),
              "modelEditor: no plug-in display filter is named 'unknown'");
    run("pluginDisplayFilter -deregister f");
    EXPECT_TRUE(host::drawnByDisplayFilters("drawdb/geometry/s"));
    EXPECT_TRUE(strings("pluginDisplayFilter -q -listFilters").empty());
}

TEST_F(InterfaceCommandsTest, TheWorkspaceRootsRelativePaths) {
    testsupport::TempDir project;
    const std::string root = project.path() + "/";
    EXPECT_EQ(failure("workspace -openWorkspace \"relative/folder\""),
              "workspace: 'relative/folder' is not a folder");
    EXPECT_EQ(failure("workspace -openWorkspace \"" + project.file("missing") + "\""),
              "workspace: '" + project.file("missing") + "' is not a folder");
    run("workspace -openWorkspace \"" + project.path() + "\"");
    EXPECT_EQ(text("workspace -q -rootDirectory"), root);
    EXPECT_EQ(host::workspaceRoot(), root);
    EXPECT_EQ(text("workspace -q -fullName"), project.path());
    EXPECT_EQ(text("workspace -projectPath \"" + root + "footage/a.mov\""), "footage/a.mov");
    EXPECT_EQ(text("workspace -projectPath \"/elsewhere/a.mov\""), "/elsewhere/a.mov");
    EXPECT_EQ(text("workspace -projectPath \"" + root + "\""), root);
    EXPECT_EQ(text("workspace -expandName \"footage/a.mov\""), root + "footage/a.mov");
    EXPECT_EQ(text("workspace -expandName \"/elsewhere/a.mov\""), "/elsewhere/a.mov");
}

}  // namespace
