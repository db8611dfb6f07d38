#include <host/Commands.h>
#include <host/Interface.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

#include <maya/MGlobal.h>

// connectControl [-index n] control attribute...: links a control to an attribute both ways. The
// stand-in links the text field of a textFieldButtonGrp (index 2, or no index) to a string
// attribute: the field then shows the attribute's value whatever set it, a script or an undo
// (Maya updates linked controls when the attribute changes). Other controls and indexes are
// refused rather than pretended.
namespace host::ui {
namespace {

const char* const kLinkFlag = "connectedAttribute";

class ConnectControlCommand : public MPxCommand {
public:
    static void* creator() { return new ConnectControlCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-fi", "-fileName");
        syntax.addFlag("-in", "-index", MSyntax::kUnsigned);
        syntax.addFlag("-pcm", "-preventContextualMenu", MSyntax::kBoolean);
        syntax.addFlag("-po", "-preventOverride", MSyntax::kBoolean);
        syntax.setObjectType(MSyntax::kStringObjects, 2);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        if (!interactiveSession()) {
            return builtins::fail("connectControl: there is no user interface in a batch session");
        }
        MArgDatabase parsed(syntax(), args);
        const std::vector<std::string> words = builtins::objectWords(parsed);
        UiElement* control = findElement(words.front());
        if (control == nullptr) {
            return builtins::fail("connectControl: Object '" + words.front() + "' not found.");
        }
        const unsigned int index =
            parsed.isFlagSet("-index") ? parsed.flagArgumentInt("-index", 0) : 2;
        if (control->type != "textFieldButtonGrp" || index != 2) {
            return builtins::fail(
                "connectControl: the stand-in links only the text field of a "
                "textFieldButtonGrp");
        }
        setFlag(*control, kLinkFlag, words[1]);
        return MStatus::kSuccess;
    }

    bool isUndoable() const override { return false; }
};

const BuiltinCommandRegistrar connectControlCommand("connectControl",
                                                    ConnectControlCommand::creator,
                                                    ConnectControlCommand::newSyntax);

}  // namespace

std::string shownText(const UiElement& element) {
    const std::string attribute = element.flag(kLinkFlag);
    MString value;
    if (!attribute.empty() &&
        MGlobal::executeCommand(MString(("getAttr \"" + attribute + "\"").c_str()), value, false,
                                false)) {
        return value.asChar();
    }
    return element.flag("text");
}

}  // namespace host::ui
