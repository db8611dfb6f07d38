#pragma once

#include "builtins/ColorSettings.h"

#include <string>

namespace host::builtins {

// The input colour space Maya's colour management file rules give a file: the first rule, from
// the highest priority down, whose pattern matches the path; the lowest-priority rule matches
// every path.
std::string evaluateFileRules(const ColorSettings& settings, const std::string& path);

// The names the default rules give, taken from the current list of input spaces.
std::string srgbTextureSpace(const ColorSettings& settings);
std::string sceneLinearSpace(const ColorSettings& settings);

}  // namespace host::builtins
