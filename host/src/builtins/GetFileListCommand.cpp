#include <host/Commands.h>

#include "builtins/BuiltinSupport.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// getFileList -folder "dir/" -filespec "*.png": the names (not paths) of the entries of a folder
// that match the wildcard pattern, read straight from the file system. Maya documents neither
// whether folders are listed nor in which order; the stand-in lists every entry, folders too,
// the conservative reading for scripts that must tell files apart themselves, sorted by name.
namespace host::builtins {
namespace {

class GetFileListCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-fld", "-folder", MSyntax::kString);
        syntax.addFlag("-fs", "-filespec", MSyntax::kString);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const std::string folder =
            parsed.isFlagSet("-folder") ? parsed.flagArgumentString("-folder", 0).asChar() : "";
        const std::string pattern = parsed.isFlagSet("-filespec")
                                        ? parsed.flagArgumentString("-filespec", 0).asChar()
                                        : "*";
        std::vector<std::string> names;
        std::error_code error;
        for (std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error), end;
             !error && entry != end; entry.increment(error)) {
            const std::string name = entry->path().filename().string();
            if (fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0) {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        MStringArray result;
        for (const std::string& name : names) {
            result.append(MString(name.c_str()));
        }
        setResult(result);
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar getFileListCommand("getFileList", create<GetFileListCommand>,
                                                 GetFileListCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
