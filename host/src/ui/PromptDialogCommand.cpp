#include <host/Commands.h>
#include <host/Interface.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

// promptDialog: a modal dialog with a message, a text field and buttons; it gives the label of
// the button pressed, or the dismiss string when the dialog is closed otherwise, and
// "promptDialog -query -text" the text typed.
// https://help.autodesk.com/cloudhelp/2024/ENU/Maya-Tech-Docs/Commands/promptDialog.html
// The stand-in shows nothing: the user's answer is the one the test set (hostUi
// -promptDialogAnswer), confirmed with the default button (the first one when none is named);
// without an answer the dialog is dismissed. Maya documents no dismiss string by default, so
// the stand-in then gives "" (the conservative reading: a caller cannot take it for a button).
namespace host::ui {
namespace {

class PromptDialogCommand : public MPxCommand {
public:
    static void* creator() { return new PromptDialogCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-t", "-title", MSyntax::kString);
        syntax.addFlag("-m", "-message", MSyntax::kString);
        syntax.addFlag("-tx", "-text", MSyntax::kString);
        syntax.addFlag("-b", "-button", MSyntax::kString);
        syntax.makeFlagMultiUse("-button");
        syntax.addFlag("-db", "-defaultButton", MSyntax::kString);
        syntax.addFlag("-cb", "-cancelButton", MSyntax::kString);
        syntax.addFlag("-ds", "-dismissString", MSyntax::kString);
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        if (!interactiveSession()) {
            return builtins::fail("promptDialog: there is no user interface in a batch session");
        }
        MArgDatabase parsed(syntax(), args);
        InterfaceState& state = interfaceState();
        if (parsed.isQuery()) {
            setResult(MString(state.promptDialogText.c_str()));
            return MStatus::kSuccess;
        }
        if (!state.promptDialogAnswer) {
            setResult(parsed.flagArgumentString("-dismissString", 0));
            return MStatus::kSuccess;
        }
        state.promptDialogText = *state.promptDialogAnswer;
        MArgList firstButton;
        parsed.getFlagArgumentList("-button", 0, firstButton);
        setResult(parsed.isFlagSet("-defaultButton")
                      ? parsed.flagArgumentString("-defaultButton", 0)
                      : firstButton.asString(0));
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar promptDialogCommand("promptDialog", PromptDialogCommand::creator,
                                                  PromptDialogCommand::newSyntax);

}  // namespace
}  // namespace host::ui
