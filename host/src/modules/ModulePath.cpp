#include <host/Modules.h>

#include "modules/ModuleDescription.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace host {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> foldersOf(const char* searchPath) {
    std::vector<std::string> folders;
    std::stringstream list(searchPath ? searchPath : "");
    for (std::string folder; std::getline(list, folder, ':');) {
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

// The .mod files directly in the folder, by name; Maya does not look into sub-folders.
std::vector<fs::path> moduleFilesIn(const std::string& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".mod" && entry.is_regular_file(error)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void appendToVariable(const std::string& variable, const std::string& value) {
    const char* current = std::getenv(variable.c_str());
    std::string joined = current && *current ? std::string(current) + ":" + value : value;
    setenv(variable.c_str(), joined.c_str(), 1);
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// A module's folders follow what the environment already names, so a user's own
// MAYA_PLUG_IN_PATH keeps precedence. Only folders that exist are added.
void applyModule(const modules::Module& module) {
    for (const modules::Assignment& assignment : module.assignments) {
        if (assignment.append) {
            appendToVariable(assignment.variable, assignment.value);
        } else {
            setenv(assignment.variable.c_str(), assignment.value.c_str(), 1);
        }
    }
    std::string plugIns =
        module.plugInFolder.empty() ? module.root + "/plug-ins" : module.plugInFolder;
    std::string scripts =
        module.scriptFolder.empty() ? module.root + "/scripts" : module.scriptFolder;
    if (isFolder(plugIns)) {
        appendToVariable("MAYA_PLUG_IN_PATH", plugIns);
    }
    if (isFolder(scripts)) {
        appendToVariable("MAYA_SCRIPT_PATH", scripts);
    }
}

}  // namespace

// Maya also reads a few default module folders (under the user's maya folder and the
// installation); the stand-in reads MAYA_MODULE_PATH only, so a run never depends on the home
// folder. Which of two modules of one name Maya takes is not documented: here the first found,
// in MAYA_MODULE_PATH order, then by file name.
void applyMayaModules() {
    const modules::Platform platform{std::to_string(MAYA_API_VERSION / 10000), "linux", "en_US"};
    std::set<std::string> applied;
    for (const std::string& folder : foldersOf(std::getenv("MAYA_MODULE_PATH"))) {
        for (const fs::path& file : moduleFilesIn(folder)) {
            std::string fileFolder = fs::absolute(file).parent_path().string();
            for (const modules::Module& module :
                 modules::parseModuleFile(readText(file), fileFolder, platform)) {
                if (applied.insert(module.name).second) {
                    applyModule(module);
                }
            }
        }
    }
}

}  // namespace host
