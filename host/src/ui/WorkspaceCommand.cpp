#include <host/Commands.h>
#include <host/Interface.h>

#include "builtins/BuiltinSupport.h"
#include "ui/InterfaceState.h"

#include <sys/stat.h>

// workspace: the project folder that relative file paths are resolved against.
//   workspace -q -rootDirectory        the root, ending with '/'
//   workspace -q -fullName             the root without the final '/'
//   workspace -openWorkspace dir       makes dir (an existing folder) the root
//   workspace -projectPath path        path made relative to the root when inside it
//   workspace -expandName path         a relative path made absolute against the root
//   workspace -fileRule rule location  sets a file rule's location; -q lists name/location pairs
//   workspace -fileRuleEntry rule      one rule's location ("" for a rule never set)
//   workspace -fileRuleList            the rules' names
// File rules as the workspace command's help text gives them (no Autodesk page was retrieved;
// the text of Maya's own help, in a Python stub's docstrings): setting one creates no folder.
// Maya reads them from the project's workspace.mel; this stand-in starts each opened project
// with none, and nothing here reads or writes workspace.mel.
namespace host::ui {
namespace {

bool isFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

class WorkspaceCommand : public MPxCommand {
public:
    static void* creator() { return new WorkspaceCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-rd", "-rootDirectory");
        syntax.addFlag("-fn", "-fullName");
        syntax.addFlag("-o", "-openWorkspace", MSyntax::kString);
        syntax.addFlag("-pp", "-projectPath", MSyntax::kString);
        syntax.addFlag("-en", "-expandName", MSyntax::kString);
        syntax.addFlag("-fr", "-fileRule", MSyntax::kString, MSyntax::kString);
        syntax.addFlag("-fre", "-fileRuleEntry", MSyntax::kString);
        syntax.addFlag("-frl", "-fileRuleList");
        syntax.enableQuery();
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const std::string root = workspaceRoot();
        auto argument = [&](const char* flag) {
            return std::string(parsed.flagArgumentString(flag, 0).asChar());
        };
        if (parsed.isFlagSet("-openWorkspace")) {
            std::string folder = argument("-openWorkspace");
            if (folder.empty() || folder[0] != '/' || !isFolder(folder)) {
                return builtins::fail("workspace: '" + folder + "' is not a folder");
            }
            interfaceState().workspaceRoot = folder.back() == '/' ? folder : folder + "/";
            interfaceState().fileRules.clear();
        } else if (parsed.isFlagSet("-fileRule") && !parsed.isQuery()) {
            interfaceState().fileRules[argument("-fileRule")] =
                parsed.flagArgumentString("-fileRule", 1).asChar();
        } else if (parsed.isFlagSet("-fileRuleEntry")) {
            const auto& rules = interfaceState().fileRules;
            const auto rule = rules.find(argument("-fileRuleEntry"));
            setResult(MString(rule == rules.end() ? "" : rule->second.c_str()));
        } else if (parsed.isFlagSet("-fileRule") || parsed.isFlagSet("-fileRuleList")) {
            MStringArray listed;
            for (const auto& rule : interfaceState().fileRules) {
                listed.append(MString(rule.first.c_str()));
                if (parsed.isFlagSet("-fileRule")) {
                    listed.append(MString(rule.second.c_str()));
                }
            }
            setResult(listed);
        } else if (parsed.isFlagSet("-projectPath")) {
            std::string path = argument("-projectPath");
            bool inside = path.compare(0, root.size(), root) == 0 && path.size() > root.size();
            setResult(MString(inside ? path.substr(root.size()).c_str() : path.c_str()));
        } else if (parsed.isFlagSet("-expandName")) {
            std::string path = argument("-expandName");
            setResult(MString((path.empty() || path[0] == '/' ? path : root + path).c_str()));
        } else if (parsed.isQuery() && parsed.isFlagSet("-rootDirectory")) {
            setResult(MString(root.c_str()));
        } else if (parsed.isQuery() && parsed.isFlagSet("-fullName")) {
            setResult(MString(root.substr(0, root.size() > 1 ? root.size() - 1 : 1).c_str()));
        } else {
            return builtins::fail("workspace: name what to query or do");
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar workspaceCommand("workspace", WorkspaceCommand::creator,
                                               WorkspaceCommand::newSyntax);

}  // namespace
}  // namespace host::ui
