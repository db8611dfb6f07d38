#include "ui/InterfaceState.h"

#include <host/Commands.h>

#include <unistd.h>

#include <algorithm>
#include <climits>

namespace host {
namespace ui {

const char* const kModelPanel = "modelPanel4";

InterfaceState& interfaceState() {
    static InterfaceState state;
    return state;
}

UiElement* findElement(const std::string& name) {
    for (UiElement& element : interfaceState().elements) {
        if (element.name == name) {
            return &element;
        }
    }
    return nullptr;
}

std::vector<std::string> childrenOf(const std::string& parent) {
    std::vector<std::string> names;
    for (const UiElement& element : interfaceState().elements) {
        if (element.parent == parent) {
            names.push_back(element.name);
        }
    }
    return names;
}

void removeElement(const std::string& name) {
    for (const std::string& child : childrenOf(name)) {
        removeElement(child);
    }
    InterfaceState& state = interfaceState();
    state.elements.erase(std::remove_if(state.elements.begin(), state.elements.end(),
                                        [&](const UiElement& e) { return e.name == name; }),
                         state.elements.end());
    if (state.currentMenu == name) {
        state.currentMenu.clear();
    }
    if (state.currentLayout == name) {
        state.currentLayout.clear();
    }
}

void setFlag(UiElement& element, const std::string& longName, const std::string& value) {
    for (auto& flag : element.flags) {
        if (flag.first == longName) {
            flag.second = value;
            return;
        }
    }
    element.flags.emplace_back(longName, value);
}

}  // namespace ui

namespace {

// Maya's main window and the main menus plug-ins add to, with the global variables that name
// them. Maya fills its own items when a menu first opens, so the menus start empty. The Create
// menu is filled by ModCreateMenu, as in Maya, once: a few of Maya's own items stand for its
// contents.
const char* const kMainWindowScript = R"(
global string $gMainWindow = "MayaWindow";
global string $gMainFileMenu = "mainFileMenu";
global string $gMainEditMenu = "mainEditMenu";
global string $gMainCreateMenu = "mainCreateMenu";
global string $gMainDisplayMenu = "mainDisplayMenu";
global string $gMainWindowMenu = "mainWindowMenu";
global proc ModCreateMenu(string $parent)
{
    if (`menu -query -numberOfItems $parent` != 0) return;
    menuItem -parent $parent -label "NURBS Primitives" createNurbsPrimitivesItem;
    menuItem -parent $parent -label "Polygon Primitives" createPolyPrimitivesItem;
    menuItem -parent $parent -label "Lights" createLightsItem;
    menuItem -parent $parent -label "Cameras" createCamerasItem;
    menuItem -parent $parent -label "Locator" createLocatorItem;
}
)";

const char* const kMainMenus[][2] = {{"mainFileMenu", "File"},
                                     {"mainEditMenu", "Edit"},
                                     {"mainCreateMenu", "Create"},
                                     {"mainDisplayMenu", "Display"},
                                     {"mainWindowMenu", "Windows"}};

}  // namespace

bool interactiveSession() {
    return ui::interfaceState().interactive;
}

void setInteractiveSession(bool interactive) {
    ui::InterfaceState& state = ui::interfaceState();
    if (state.interactive == interactive) {
        return;
    }
    state.interactive = interactive;
    if (!interactive) {
        ui::removeElement("MayaWindow");
        return;
    }
    state.elements.push_back({"MayaWindow", "window", "", {}});
    for (const auto& menu : kMainMenus) {
        state.elements.push_back({menu[0], "menu", "MayaWindow", {{"label", menu[1]}}});
    }
    ScriptOptions options;
    options.recordUndo = false;
    runScript(kMainWindowScript, options);
}

std::string UiElement::flag(const std::string& longName) const {
    for (const auto& entry : flags) {
        if (entry.first == longName) {
            return entry.second;
        }
    }
    return "";
}

const UiElement* findUiElement(const std::string& name) {
    return ui::findElement(name);
}

void setFileDialogAnswer(const std::vector<std::string>& paths) {
    ui::interfaceState().fileDialogAnswer = paths;
}

std::vector<std::string> lastFileDialogFlags() {
    return ui::interfaceState().lastFileDialog;
}

std::vector<std::string> attributeEditorEntries() {
    return ui::interfaceState().editorEntries;
}

bool drawnByDisplayFilters(const std::string& drawClassification) {
    const ui::InterfaceState& state = ui::interfaceState();
    for (const std::string& name : state.hiddenFilters) {
        auto filter = state.displayFilters.find(name);
        if (filter == state.displayFilters.end()) {
            continue;
        }
        // A filter covers its classification and the ones under it ("drawdb/geometry/x/y").
        const std::string& covered = filter->second.classification;
        if (drawClassification.compare(0, covered.size(), covered) == 0 &&
            (drawClassification.size() == covered.size() ||
             drawClassification[covered.size()] == '/')) {
            return false;
        }
    }
    return true;
}

std::string workspaceRoot() {
    std::string& root = ui::interfaceState().workspaceRoot;
    if (root.empty()) {
        char folder[PATH_MAX];
        root = getcwd(folder, sizeof folder) ? folder : "/";
        if (root.back() != '/') {
            root += '/';
        }
    }
    return root;
}

void resetInterface() {
    setInteractiveSession(false);
    ui::interfaceState() = ui::InterfaceState();
}

}  // namespace host
