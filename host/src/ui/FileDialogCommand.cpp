#include <host/Commands.h>
#include <host/Interface.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

// fileDialog2 answers what the test set (hostUi -fileDialogAnswer) and keeps the flags it was
// given, so that tests can look at the filter and caption the user would have seen.
namespace host::ui {
namespace {

class FileDialogCommand : public MPxCommand {
public:
    static void* creator() { return new FileDialogCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        for (const auto& flag : kFlags) {
            syntax.addFlag(flag.shortName, flag.longName, flag.type);
        }
        return syntax;
    }

    // The chosen paths; a cancelled dialog gives no result.
    MStatus doIt(const MArgList& args) override {
        if (!interactiveSession()) {
            return builtins::fail("fileDialog2: there is no user interface in a batch session");
        }
        MArgDatabase parsed(syntax(), args);
        InterfaceState& state = interfaceState();
        state.lastFileDialog.clear();
        for (const auto& flag : kFlags) {
            if (!parsed.isFlagSet(flag.shortName)) {
                continue;
            }
            std::string value = flag.type == MSyntax::kLong
                                    ? std::to_string(parsed.flagArgumentInt(flag.shortName, 0))
                                    : parsed.flagArgumentString(flag.shortName, 0).asChar();
            state.lastFileDialog.push_back(std::string(flag.longName + 1) + "=" + value);
        }
        if (state.fileDialogAnswer.empty()) {
            return MStatus::kSuccess;
        }
        MStringArray paths;
        for (const std::string& path : state.fileDialogAnswer) {
            paths.append(MString(path.c_str()));
        }
        setResult(paths);
        return MStatus::kSuccess;
    }

private:
    struct Flag {
        const char* shortName;
        const char* longName;
        MSyntax::MArgType type;
    };
    static constexpr Flag kFlags[] = {{"-fm", "-fileMode", MSyntax::kLong},
                                      {"-ds", "-dialogStyle", MSyntax::kLong},
                                      {"-cap", "-caption", MSyntax::kString},
                                      {"-okc", "-okCaption", MSyntax::kString},
                                      {"-ff", "-fileFilter", MSyntax::kString},
                                      {"-sff", "-selectFileFilter", MSyntax::kString},
                                      {"-dir", "-startingDirectory", MSyntax::kString}};
};

// Host-only, for tests: hostUi -fileDialogAnswer "/a/clip.mov" ("" cancels the dialog);
// hostUi -promptDialogAnswer "1001" types that into every promptDialog and confirms it;
// hostUi -lastFileDialog gives the flags of the latest dialog as "name=value";
// hostUi -editorEntries gives the layout the latest showEditor built.
class HostUiCommand : public MPxCommand {
public:
    static void* creator() { return new HostUiCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-fda", "-fileDialogAnswer", MSyntax::kString);
        syntax.addFlag("-pda", "-promptDialogAnswer", MSyntax::kString);
        syntax.addFlag("-lfd", "-lastFileDialog");
        syntax.addFlag("-ee", "-editorEntries");
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (parsed.isFlagSet("-fileDialogAnswer")) {
            std::string answer = parsed.flagArgumentString("-fileDialogAnswer", 0).asChar();
            setFileDialogAnswer(answer.empty() ? std::vector<std::string>()
                                               : std::vector<std::string>{answer});
        }
        if (parsed.isFlagSet("-promptDialogAnswer")) {
            interfaceState().promptDialogAnswer =
                parsed.flagArgumentString("-promptDialogAnswer", 0).asChar();
        }
        const std::vector<std::string> listed =
            parsed.isFlagSet("-lastFileDialog") ? lastFileDialogFlags() : attributeEditorEntries();
        if (parsed.isFlagSet("-lastFileDialog") || parsed.isFlagSet("-editorEntries")) {
            MStringArray values;
            for (const std::string& value : listed) {
                values.append(MString(value.c_str()));
            }
            setResult(values);
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar fileDialogCommand("fileDialog2", FileDialogCommand::creator,
                                                FileDialogCommand::newSyntax);
const BuiltinCommandRegistrar hostUiCommand("hostUi", HostUiCommand::creator,
                                            HostUiCommand::newSyntax);

}  // namespace
}  // namespace host::ui
