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

// What colorManagementPrefs and colorManagementFileRules report; hostConfig changes it.
struct ColorSettings {
    std::vector<std::string> inputSpaces = {"sRGB", "Raw", "ACEScg", "scene-linear Rec.709-sRGB"};
    std::string renderingSpace = "ACEScg";
    // Rules set by tests, highest priority first, above the default rules.
    std::vector<FileRule> fileRules;
};

ColorSettings& colorSettings();

}  // namespace host::builtins
