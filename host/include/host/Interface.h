#pragma once

#include <string>
#include <vector>

// The host's user interface, recorded rather than shown: the session mode, the UI elements
// scripts create (menus, menu items, controls), the Attribute Editor templates they describe,
// the file dialog's answer, display filters of the one model panel, and the workspace.
namespace host {

// The host runs as a batch session unless made interactive (cinesheet-host --interactive):
// only then do the main window and its menus exist, UI commands work and plug-ins' interactive
// UI procedures run.
bool interactiveSession();
// Switching to interactive builds the main window "MayaWindow" with Maya's main menus and
// their global variables ($gMainWindow, $gMainCreateMenu, ...); switching back removes them.
void setInteractiveSession(bool interactive);

// One recorded UI element. Flag values are kept as the script gave them, by long flag name.
struct UiElement {
    std::string name;
    std::string type;  // "window", "menu", "menuItem", "button", "textFieldButtonGrp", ...
    std::string parent;
    std::vector<std::pair<std::string, std::string>> flags;
    // The value of a flag, "" when never set.
    std::string flag(const std::string& longName) const;
};
// Null when no element has the name.
const UiElement* findUiElement(const std::string& name);

// What fileDialog2 answers: the chosen paths, none for a cancelled dialog.
void setFileDialogAnswer(const std::vector<std::string>& paths);
// The flags of the latest fileDialog2 call, as "longName=value".
std::vector<std::string> lastFileDialogFlags();

// The Attribute Editor layout the latest showEditor built, one entry per editorTemplate call
// ("beginLayout Footage", "addControl frame", "suppress cameraMatrix", ...).
std::vector<std::string> attributeEditorEntries();

// False when a plug-in display filter whose classification covers the draw classification is
// switched off in the model panel (modelEditor -pluginObjects name false).
bool drawnByDisplayFilters(const std::string& drawClassification);

// The workspace root folder, ending with '/'. The host starts in the current folder.
std::string workspaceRoot();
// Back to the start: batch session, no elements, no answer, no filters, the current folder.
void resetInterface();

}  // namespace host
