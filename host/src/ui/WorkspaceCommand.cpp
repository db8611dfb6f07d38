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
