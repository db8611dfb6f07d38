#include <host/Commands.h>

#include "builtins/BuiltinSupport.h"

#include <map>
#include <string>
#include <variant>

// optionVar: named preferences, kept for the session (Maya also keeps them between sessions, in
// the user's prefs; the stand-in has no prefs folder).
// https://help.autodesk.com/cloudhelp/2024/ENU/Maya-Tech-Docs/Commands/optionVar.html
// "-intValue name value" and "-stringValue name value" set one, "-query name" gives it (0 when
// it does not exist, as Maya documents), "-exists name" says whether it does, "-remove name"
// removes it. Arrays (-intValueAppend and the like) are not modelled.
namespace host::builtins {
namespace {

using OptionValue = std::variant<int, std::string>;

std::map<std::string, OptionValue>& optionVars() {
    static std::map<std::string, OptionValue> values;
    return values;
}

class OptionVarCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-iv", "-intValue", MSyntax::kString, MSyntax::kLong);
        syntax.addFlag("-sv", "-stringValue", MSyntax::kString, MSyntax::kString);
        syntax.addFlag("-q", "-query", MSyntax::kString);
        syntax.addFlag("-ex", "-exists", MSyntax::kString);
        syntax.addFlag("-rm", "-remove", MSyntax::kString);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        auto& values = optionVars();
        if (parsed.isFlagSet("-intValue")) {
            values[parsed.flagArgumentString("-intValue", 0).asChar()] =
                parsed.flagArgumentInt("-intValue", 1);
        }
        if (parsed.isFlagSet("-stringValue")) {
            values[parsed.flagArgumentString("-stringValue", 0).asChar()] =
                std::string(parsed.flagArgumentString("-stringValue", 1).asChar());
        }
        if (parsed.isFlagSet("-remove")) {
            values.erase(parsed.flagArgumentString("-remove", 0).asChar());
        }
        if (parsed.isFlagSet("-exists")) {
            setResult(values.count(parsed.flagArgumentString("-exists", 0).asChar()) > 0);
        }
        if (parsed.isFlagSet("-query")) {
            const auto found = values.find(parsed.flagArgumentString("-query", 0).asChar());
            if (found == values.end()) {
                setResult(0);
            } else if (const int* number = std::get_if<int>(&found->second)) {
                setResult(*number);
            } else {
                setResult(MString(std::get<std::string>(found->second).c_str()));
            }
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar optionVarCommand("optionVar", create<OptionVarCommand>,
                                               OptionVarCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
