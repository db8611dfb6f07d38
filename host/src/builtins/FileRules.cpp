#include "builtins/FileRules.h"

#include <fnmatch.h>

#include <algorithm>
#include <initializer_list>

namespace host::builtins {
namespace {

// The sRGB texture space and the scene-linear space under the names Maya's own configurations
// (the legacy one, the OCIO v2 default of Maya 2022 and later) and the ACES studio
// configurations give them.
const std::initializer_list<const char*> kSrgbTextureNames = {
    "sRGB", "sRGB Encoded Rec.709 (sRGB)", "Utility - sRGB - Texture", "sRGB - Texture"};
const std::initializer_list<const char*> kSceneLinearNames = {
    "scene-linear Rec.709-sRGB", "scene-linear Rec 709/sRGB", "Linear Rec.709 (sRGB)",
    "Utility - Linear - sRGB"};

std::string firstListed(const ColorSettings& settings, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const auto& spaces = settings.inputSpaces;
        if (std::find(spaces.begin(), spaces.end(), name) != spaces.end()) {
            return name;
        }
    }
    return std::string();
}

// Maya's default rules send EXR and HDR files to the scene-linear space. Maya's extension
// matching is case-sensitive, so "PLATE.EXR" is not such a file.
bool isLinearByDefault(const std::string& path) {
    for (const char* extension : {".exr", ".hdr"}) {
        const std::string suffix(extension);
        if (path.size() > suffix.size() &&
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Without an sRGB texture space in the list, Maya takes the default rule's space from the
// configuration itself (its rules or roles), which this host does not model: the rendering
// space is given then, as an ACES configuration's default would be a linear space too. Tests
// that need another answer set a rule with hostConfig -fileRule.
std::string srgbTextureSpace(const ColorSettings& settings) {
    const std::string named = firstListed(settings, kSrgbTextureNames);
    return named.empty() ? settings.renderingSpace : named;
}

std::string sceneLinearSpace(const ColorSettings& settings) {
    const std::string named = firstListed(settings, kSceneLinearNames);
    return named.empty() ? settings.renderingSpace : named;
}

std::string evaluateFileRules(const ColorSettings& settings, const std::string& path) {
    for (const FileRule& rule : settings.fileRules) {
        if (fnmatch(rule.pattern.c_str(), path.c_str(), 0) == 0) {
            return rule.space;
        }
    }
    return isLinearByDefault(path) ? sceneLinearSpace(settings) : srgbTextureSpace(settings);
}

}  // namespace host::builtins
