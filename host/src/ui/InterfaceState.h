#pragma once

#include <host/Interface.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace host::ui {

struct DisplayFilter {
    std::string label;
    std::string classification;
};

// The one progress window (progressWindow), and what a test asks of it.
struct ProgressWindowState {
    bool shown = false;
    bool interruptable = false;
    int minValue = 0;
    int maxValue = 100;
    int progress = 0;
    int cancelAt = -1;                 // the user cancels once progress reaches it; -1: never
    std::vector<std::string> history;  // "show <title>: <status>", progress values, "end"
};

// Everything the recorded interface holds; one per host.
struct InterfaceState {
    bool interactive = false;
    std::vector<UiElement> elements;
    std::string currentMenu;    // setParent -menu
    std::string currentLayout;  // setParent
    std::vector<std::string> fileDialogAnswer;
    std::vector<std::string> lastFileDialog;
    std::optional<std::string> promptDialogAnswer;  // none: prompt dialogs are dismissed
    std::string promptDialogText;                   // promptDialog -query -text
    std::vector<std::string> editorEntries;
    std::string editorNode;  // the node the Attribute Editor shows
    std::string editorType;  // its type: another node of it reuses the layout
    std::vector<std::vector<std::string>> customControls;  // callCustom words, for replacing
    std::map<std::string, DisplayFilter> displayFilters;
    std::set<std::string> hiddenFilters;           // switched off in the model panel
    std::string workspaceRoot;                     // "" until first asked: the current folder
    std::map<std::string, std::string> fileRules;  // workspace -fileRule, per opened project
    ProgressWindowState progressWindow;
};

InterfaceState& interfaceState();

UiElement* findElement(const std::string& name);
// Removes the element and everything under it.
void removeElement(const std::string& name);
std::vector<std::string> childrenOf(const std::string& parent);
void setFlag(UiElement& element, const std::string& longName, const std::string& value);
// The text a text control shows: its linked attribute's value (connectControl), else its own.
std::string shownText(const UiElement& element);

// The one model panel, whose camera is the one the viewport looks through.
extern const char* const kModelPanel;

}  // namespace host::ui
