#include <host/Commands.h>
#include <host/Interface.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

#include <map>

// menu, menuItem, button, textFieldButtonGrp and attrNavigationControlGrp: each creates,
// edits (-e) and queries (-q) one recorded element; setParent and deleteUI.
namespace host::ui {
namespace {

using builtins::fail;

enum class ParentKind { kWindow, kMenu, kLayout };

struct ControlFlag {
    const char* shortName;
    const char* longName;
    MSyntax::MArgType type;
};

struct ControlKind {
    const char* type;
    ParentKind parent;
    std::vector<ControlFlag> flags;
};

// Flags of a menu that read or change its items rather than the menu.
const char* const kItemArray = "itemArray";
const char* const kNumberOfItems = "numberOfItems";
const char* const kDeleteAllItems = "deleteAllItems";

const ControlKind kMenu{"menu",
                        ParentKind::kWindow,
                        {{"-l", "-label", MSyntax::kString},
                         {"-p", "-parent", MSyntax::kString},
                         {"-to", "-tearOff", MSyntax::kBoolean},
                         {"-pmc", "-postMenuCommand", MSyntax::kString},
                         {"-aob", "-allowOptionBoxes", MSyntax::kBoolean},
                         {"-ia", "-itemArray", MSyntax::kNoArg},
                         {"-ni", "-numberOfItems", MSyntax::kNoArg},
                         {"-dai", "-deleteAllItems", MSyntax::kNoArg}}};

const ControlKind kMenuItem{"menuItem",
                            ParentKind::kMenu,
                            {{"-l", "-label", MSyntax::kString},
                             {"-c", "-command", MSyntax::kString},
                             {"-p", "-parent", MSyntax::kString},
                             {"-ann", "-annotation", MSyntax::kString},
                             {"-i", "-image", MSyntax::kString},
                             {"-d", "-divider", MSyntax::kBoolean},
                             {"-dl", "-dividerLabel", MSyntax::kString},
                             {"-ia", "-insertAfter", MSyntax::kString},
                             {"-stp", "-sourceType", MSyntax::kString},
                             {"-en", "-enable", MSyntax::kBoolean},
                             // The option box of the item before it (Maya's menuItem -optionBox).
                             {"-ob", "-optionBox", MSyntax::kBoolean}}};

const ControlKind kButton{"button",
                          ParentKind::kLayout,
                          {{"-l", "-label", MSyntax::kString},
                           {"-c", "-command", MSyntax::kString},
                           {"-p", "-parent", MSyntax::kString},
                           {"-ann", "-annotation", MSyntax::kString},
                           {"-en", "-enable", MSyntax::kBoolean}}};

const ControlKind kTextFieldButtonGrp{"textFieldButtonGrp",
                                      ParentKind::kLayout,
                                      {{"-l", "-label", MSyntax::kString},
                                       {"-tx", "-text", MSyntax::kString},
                                       {"-bl", "-buttonLabel", MSyntax::kString},
                                       {"-bc", "-buttonCommand", MSyntax::kString},
                                       {"-cc", "-changeCommand", MSyntax::kString},
                                       {"-fi", "-fileName", MSyntax::kString},
                                       {"-p", "-parent", MSyntax::kString},
                                       {"-ann", "-annotation", MSyntax::kString},
                                       {"-ed", "-editable", MSyntax::kBoolean},
                                       {"-en", "-enable", MSyntax::kBoolean}}};

const ControlKind kAttrNavigationControlGrp{"attrNavigationControlGrp",
                                            ParentKind::kLayout,
                                            {{"-l", "-label", MSyntax::kString},
                                             {"-at", "-attribute", MSyntax::kString},
                                             {"-p", "-parent", MSyntax::kString},
                                             {"-ann", "-annotation", MSyntax::kString},
                                             {"-en", "-enable", MSyntax::kBoolean}}};

std::string flagText(const MArgDatabase& parsed, const ControlFlag& flag) {
    switch (flag.type) {
        case MSyntax::kBoolean:
            return parsed.flagArgumentBool(flag.shortName, 0) ? "1" : "0";
        case MSyntax::kString:
            return parsed.flagArgumentString(flag.shortName, 0).asChar();
        default:
            return "1";
    }
}

template <const ControlKind* Kind>
class ControlCommand : public MPxCommand {
public:
    static void* creator() { return new ControlCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        for (const ControlFlag& flag : Kind->flags) {
            syntax.addFlag(flag.shortName, flag.longName, flag.type);
        }
        syntax.addFlag("-ex", "-exists");
        syntax.setObjectType(MSyntax::kStringObjects, 0, 1);
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> names = builtins::objectWords(parsed);
        std::string name = names.empty() ? "" : names.front();
        if (parsed.isFlagSet("-exists")) {
            const UiElement* element = findElement(name);
            setResult(element != nullptr && element->type == Kind->type);
            return MStatus::kSuccess;
        }
        if (!interactiveSession()) {
            return fail(std::string(Kind->type) +
                        ": there is no user interface in a batch session");
        }
        if (parsed.isQuery() || parsed.isEdit()) {
            UiElement* element = findElement(name);
            if (element == nullptr || element->type != Kind->type) {
                return fail(std::string(Kind->type) + ": Object '" + name + "' not found.");
            }
            return parsed.isQuery() ? query(parsed, *element) : edit(parsed, *element);
        }
        return create(parsed, name);
    }

private:
    MStatus query(const MArgDatabase& parsed, const UiElement& element) {
        for (const ControlFlag& flag : Kind->flags) {
            if (!parsed.isFlagSet(flag.shortName)) {
                continue;
            }
            const std::string longName = flag.longName + 1;
            if (longName == kItemArray) {
                MStringArray items;
                for (const std::string& child : childrenOf(element.name)) {
                    items.append(MString(child.c_str()));
                }
                setResult(items);
            } else if (longName == kNumberOfItems) {
                setResult(static_cast<int>(childrenOf(element.name).size()));
            } else if (flag.type == MSyntax::kBoolean) {
                setResult(element.flag(longName) == "1");
            } else if (longName == "text") {
                setResult(MString(shownText(element).c_str()));
            } else {
                setResult(MString(element.flag(longName).c_str()));
            }
            return MStatus::kSuccess;
        }
        return fail(std::string(Kind->type) + ": name a flag to query");
    }

    MStatus edit(const MArgDatabase& parsed, UiElement& element) {
        for (const ControlFlag& flag : Kind->flags) {
            if (!parsed.isFlagSet(flag.shortName)) {
                continue;
            }
            if (std::string(flag.longName + 1) == kDeleteAllItems) {
                for (const std::string& child : childrenOf(element.name)) {
                    removeElement(child);
                }
            } else {
                setFlag(element, flag.longName + 1, flagText(parsed, flag));
            }
        }
        return MStatus::kSuccess;
    }

    MStatus create(const MArgDatabase& parsed, std::string name) {
        InterfaceState& state = interfaceState();
        if (name.empty()) {
            static int count = 0;
            name = std::string(Kind->type) + std::to_string(++count);
        }
        if (findElement(name) != nullptr) {
            return fail(std::string(Kind->type) + ": Object's name '" + name + "' is not unique.");
        }
        std::string parent = Kind->parent == ParentKind::kWindow ? "MayaWindow"
                             : Kind->parent == ParentKind::kMenu ? state.currentMenu
                                                                 : state.currentLayout;
        if (parsed.isFlagSet("-parent")) {
            parent = parsed.flagArgumentString("-parent", 0).asChar();
        }
        if (!parent.empty() && findElement(parent) == nullptr) {
            return fail(std::string(Kind->type) + ": parent '" + parent + "' not found.");
        }
        if (Kind->parent == ParentKind::kMenu && parent.empty()) {
            return fail(std::string(Kind->type) + ": no menu to add the item to (setParent -menu)");
        }
        UiElement element{name, Kind->type, parent, {}};
        for (const ControlFlag& flag : Kind->flags) {
            if (flag.type != MSyntax::kNoArg && parsed.isFlagSet(flag.shortName)) {
                setFlag(element, flag.longName + 1, flagText(parsed, flag));
            }
        }
        state.elements.push_back(element);
        // A new menu is where the next menu items go.
        if (Kind->parent == ParentKind::kWindow) {
            state.currentMenu = name;
        }
        setResult(MString(name.c_str()));
        return MStatus::kSuccess;
    }
};

// setParent [-menu] name|..  sets where new controls (or menu items) go; -q gives it.
class SetParentCommand : public MPxCommand {
public:
    static void* creator() { return new SetParentCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-m", "-menu");
        syntax.setObjectType(MSyntax::kStringObjects, 0, 1);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        InterfaceState& state = interfaceState();
        std::string& current = parsed.isFlagSet("-menu") ? state.currentMenu : state.currentLayout;
        std::vector<std::string> names = builtins::objectWords(parsed);
        if (parsed.isQuery() || names.empty()) {
            setResult(MString(current.c_str()));
            return MStatus::kSuccess;
        }
        if (names.front() == "..") {
            const UiElement* element = findElement(current);
            current = element != nullptr ? element->parent : "";
        } else if (findElement(names.front()) == nullptr) {
            return fail("setParent: Object '" + names.front() + "' not found.");
        } else {
            current = names.front();
        }
        setResult(MString(current.c_str()));
        return MStatus::kSuccess;
    }
};

class DeleteUiCommand : public MPxCommand {
public:
    static void* creator() { return new DeleteUiCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax = builtins::wordsSyntax(1);
        for (const char* const* flag : kKinds) {
            syntax.addFlag(flag[0], flag[1]);
        }
        return syntax;
    }

    // With a kind flag only elements of that kind are deleted.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::string kind;
        for (const char* const* flag : kKinds) {
            kind = parsed.isFlagSet(flag[0]) ? flag[2] : kind;
        }
        for (const std::string& name : builtins::objectWords(parsed)) {
            const UiElement* element = findElement(name);
            if (element == nullptr || (!kind.empty() && !matches(*element, kind))) {
                return fail("deleteUI: Object '" + name + "' not found.");
            }
            removeElement(name);
        }
        return MStatus::kSuccess;
    }

private:
    static bool matches(const UiElement& element, const std::string& kind) {
        return kind == "control" ? element.type != "menu" && element.type != "menuItem" &&
                                       element.type != "window"
                                 : element.type == kind;
    }

    static constexpr const char* kKinds[][3] = {{"-mi", "-menuItem", "menuItem"},
                                                {"-m", "-menu", "menu"},
                                                {"-ctl", "-control", "control"},
                                                {"-wnd", "-window", "window"}};
};

const BuiltinCommandRegistrar menuCommand("menu", ControlCommand<&kMenu>::creator,
                                          ControlCommand<&kMenu>::newSyntax);
const BuiltinCommandRegistrar menuItemCommand("menuItem", ControlCommand<&kMenuItem>::creator,
                                              ControlCommand<&kMenuItem>::newSyntax);
const BuiltinCommandRegistrar buttonCommand("button", ControlCommand<&kButton>::creator,
                                            ControlCommand<&kButton>::newSyntax);
const BuiltinCommandRegistrar textFieldButtonGrpCommand(
    "textFieldButtonGrp", ControlCommand<&kTextFieldButtonGrp>::creator,
    ControlCommand<&kTextFieldButtonGrp>::newSyntax);
const BuiltinCommandRegistrar attrNavigationControlGrpCommand(
    "attrNavigationControlGrp", ControlCommand<&kAttrNavigationControlGrp>::creator,
    ControlCommand<&kAttrNavigationControlGrp>::newSyntax);
const BuiltinCommandRegistrar setParentCommand("setParent", SetParentCommand::creator,
                                               SetParentCommand::newSyntax);
const BuiltinCommandRegistrar deleteUiCommand("deleteUI", DeleteUiCommand::creator,
                                              DeleteUiCommand::newSyntax);

}  // namespace
}  // namespace host::ui
