#include <host/Modules.h>

#include "modules/EnvironmentEdits.h"
#include "modules/ModuleDescription.h"
#include "modules/ModuleFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
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

// Each variable set is one setenv, which looks through the whole environment and copies it as
// it grows: a file setting tens of thousands of variables would hold start-up for minutes. Maya
// documents no limit; modules set a handful of variables, and the stand-in skips a file setting
// more than this, with a warning.
constexpr std::size_t kMaxModuleVariables = 1000;

std::size_t variablesNamed(const std::vector<modules::Module>& described) {
    std::set<std::string> variables;
    for (const modules::Module& module : described) {
        for (const modules::Assignment& assignment : module.assignments) {
            variables.insert(assignment.variable);
        }
    }
    return variables.size();
}

void warnSkipped(const fs::path& file, const std::string& why) {
    std::cerr << "// Warning: skipped the module file " << file.string() << ": " << why << " //\n";
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// A module's folders follow what the environment already names, so a user's own
// MAYA_PLUG_IN_PATH keeps precedence. Only folders that exist are added.
void applyModule(const modules::Module& module, modules::EnvironmentEdits& edits) {
    for (const modules::Assignment& assignment : module.assignments) {
        if (assignment.append) {
            edits.append(assignment.variable, assignment.value);
        } else {
            edits.set(assignment.variable, assignment.value);
        }
    }
    std::string plugIns =
        module.plugInFolder.empty() ? module.root + "/plug-ins" : module.plugInFolder;
    std::string scripts =
        module.scriptFolder.empty() ? module.root + "/scripts" : module.scriptFolder;
    if (isFolder(plugIns)) {
        edits.append("MAYA_PLUG_IN_PATH", plugIns);
    }
    if (isFolder(scripts)) {
        edits.append("MAYA_SCRIPT_PATH", scripts);
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
    modules::EnvironmentEdits edits;
    for (const std::string& folder : foldersOf(std::getenv("MAYA_MODULE_PATH"))) {
        for (const fs::path& file : moduleFilesIn(folder)) {
            std::string why;
            const std::optional<std::string> text = modules::readModuleFile(file, why);
            if (!text) {
                warnSkipped(file, why);
                continue;
            }
            std::string fileFolder = fs::absolute(file).parent_path().string();
            const std::vector<modules::Module> described =
                modules::parseModuleFile(*text, fileFolder, platform);
            if (variablesNamed(described) > kMaxModuleVariables) {
                warnSkipped(file, "it sets more than " + std::to_string(kMaxModuleVariables) +
                                      " variables");
                continue;
            }
            for (const modules::Module& module : described) {
                if (applied.insert(module.name).second) {
                    applyModule(module, edits);
                }
            }
        }
    }
    edits.apply();
}

}  // namespace host
