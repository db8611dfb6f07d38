#include "modules/ModuleDescription.h"

#include <cctype>
#include <filesystem>
#include <sstream>

namespace host::modules {
namespace {

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r";
    std::size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) {
        return "";
    }
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

std::string resolved(const std::string& folder, const std::string& path) {
    std::string normal = (std::filesystem::path(folder) / path).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

bool isVariableName(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        return false;
    }
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
            return false;
        }
    }
    return true;
}

// A condition the stand-in does not know is taken as not met: loading a module meant for
// something else would be worse than leaving it out.
bool conditionMet(const std::string& key, const std::string& value, const Platform& platform) {
    if (key == "MAYAVERSION") {
        return value == platform.mayaVersion;
    }
    if (key == "PLATFORM") {
        return value == platform.platform;
    }
    if (key == "LOCALE") {
        return value == platform.locale;
    }
    return false;
}

// "+ [KEY:value ...] Name Version Path": false when the line is incomplete or a condition is
// not met. The path is the rest of the line, so it may hold spaces.
bool parseModuleLine(const std::string& line, const std::string& fileFolder,
                     const Platform& platform, Module* module) {
    std::istringstream words(line.substr(1));
    std::string word;
    while (words >> word) {
        std::size_t colon = word.find(':');
        bool isCondition = colon != std::string::npos && colon > 0 &&
                           std::isupper(static_cast<unsigned char>(word[0]));
        if (!isCondition) {
            break;
        }
        if (!conditionMet(word.substr(0, colon), word.substr(colon + 1), platform)) {
            return false;
        }
        word.clear();
    }
    module->name = word;
    std::string rootPath;
    if (module->name.empty() || !(words >> module->version) || !std::getline(words, rootPath)) {
        return false;
    }
    rootPath = trimmed(rootPath);
    if (rootPath.empty()) {
        return false;
    }
    module->root = resolved(fileFolder, rootPath);
    return true;
}

// "VARIABLE [+][:]= value". False for any other line.
bool parseAssignment(const std::string& line, const std::string& root, Assignment* assignment) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    std::size_t nameEnd = equals;
    bool relative = nameEnd > 0 && line[nameEnd - 1] == ':';
    if (relative) {
        --nameEnd;
    }
    assignment->append = nameEnd > 0 && line[nameEnd - 1] == '+';
    if (assignment->append) {
        --nameEnd;
    }
    assignment->variable = trimmed(line.substr(0, nameEnd));
    if (!isVariableName(assignment->variable)) {
        return false;
    }
    std::string value = trimmed(line.substr(equals + 1));
    assignment->value = relative ? resolved(root, value) : value;
    return true;
}

// "plug-ins: folder" or "scripts: folder", relative to the module's root.
bool parseFolderLine(const std::string& line, Module* module) {
    std::size_t colon = line.find(':');
    if (colon == std::string::npos || line.find('=') != std::string::npos) {
        return false;
    }
    std::string key = trimmed(line.substr(0, colon));
    std::string folder = trimmed(line.substr(colon + 1));
    if (folder.empty()) {
        return false;
    }
    if (key == "plug-ins") {
        module->plugInFolder = resolved(module->root, folder);
        return true;
    }
    if (key == "scripts") {
        module->scriptFolder = resolved(module->root, folder);
        return true;
    }
    return false;
}

}  // namespace

// Lines the stand-in does not understand (other folder keys such as "icons:", the "[r]"
// recursive-folder marker, comments) are skipped: they name nothing it uses.
std::vector<Module> parseModuleFile(const std::string& text, const std::string& fileFolder,
                                    const Platform& platform) {
    std::vector<Module> modules;
    bool inApplicableModule = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = trimmed(line);
        if (line.empty()) {
            continue;
        }
        if (line[0] == '+' || line[0] == '-') {
            // "-" starts a module that is switched off: its lines are skipped with it.
            Module module;
            inApplicableModule =
                line[0] == '+' && parseModuleLine(line, fileFolder, platform, &module);
            if (inApplicableModule) {
                modules.push_back(module);
            }
            continue;
        }
        if (!inApplicableModule) {
            continue;
        }
        Module& module = modules.back();
        Assignment assignment;
        if (parseAssignment(line, module.root, &assignment)) {
            module.assignments.push_back(assignment);
        } else {
            parseFolderLine(line, &module);
        }
    }
    return modules;
}

}  // namespace host::modules
