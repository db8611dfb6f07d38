#pragma once

#include <string>
#include <vector>

namespace host::builtins {

// What colorManagementPrefs reports; hostConfig changes it.
struct ColorSettings {
    std::vector<std::string> inputSpaces = {"sRGB", "Raw", "ACEScg", "scene-linear Rec.709-sRGB"};
    std::string renderingSpace = "ACEScg";
};

ColorSettings& colorSettings();

}  // namespace host::builtins
