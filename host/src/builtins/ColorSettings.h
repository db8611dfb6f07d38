#pragma once

#include <string>
#include <vector>

namespace host::builtins {

// A colour management file rule: files whose path matches the pattern (a shell glob, '*'
// matching '/' too) are in the space.
struct FileRule {
    std::string pattern;
    std::string space;
};

// What colorManagementPrefs and colorManagementFileRules report: the names of the loaded OCIO
// configuration, which hostConfig may replace by another configuration's list for a test.
struct ColorSettings {
    std::vector<std::string> inputSpaces;
    std::string renderingSpace;
    // Rules set by tests, highest priority first, above the default rules.
    std::vector<FileRule> fileRules;
};

ColorSettings& colorSettings();
// Takes the names of the configuration loaded now; the rules set by tests stay.
void takeNamesOfLoadedConfig();
// Loads the OCIO configuration at the path and takes its names; when the path is another than
// the one loaded, Maya's configuration-change events follow. On failure the loaded one stays and
// `error` says why.
bool loadConfig(const std::string& path, std::string& error);

}  // namespace host::builtins
