#include "script/ScriptPath.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace host::script {
namespace {

bool readable(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

std::vector<std::string> searchFolders() {
    std::vector<std::string> folders;
    if (const char* searchPath = std::getenv("MAYA_SCRIPT_PATH")) {
        std::stringstream list(searchPath);
        for (std::string folder; std::getline(list, folder, ':');) {
            if (!folder.empty()) {
                folders.push_back(folder);
            }
        }
    }
    folders.push_back(".");
    return folders;
}

bool hasExtension(const std::string& name) {
    std::size_t dot = name.rfind('.');
    return dot != std::string::npos && name.find('/', dot) == std::string::npos;
}

}  // namespace

std::string findScriptFile(const std::string& name) {
    if (name.empty()) {
        return "";
    }
    std::vector<std::string> candidates{name};
    if (!hasExtension(name)) {
        candidates.push_back(name + ".mel");
    }
    if (name.find('/') != std::string::npos) {
        for (const std::string& candidate : candidates) {
            if (readable(candidate)) {
                return candidate;
            }
        }
        return "";
    }
    for (const std::string& folder : searchFolders()) {
        for (const std::string& candidate : candidates) {
            std::string path = folder + "/" + candidate;
            if (readable(path)) {
                return path;
            }
        }
    }
    return "";
}

bool readScriptFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    *text = contents.str();
    return !file.bad();
}

}  // namespace host::script
