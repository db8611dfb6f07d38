#include "builtins/ColorSettings.h"

#include "render/ColourConfig.h"

#include <host/Events.h>

namespace host::builtins {
namespace {

ColorSettings namesOf(const ColourConfig& config) {
    ColorSettings settings;
    settings.inputSpaces = config.inputSpaceNames();
    settings.renderingSpace = config.renderingSpace();
    return settings;
}

}  // namespace

ColorSettings& colorSettings() {
    static ColorSettings settings = namesOf(ColourConfig::instance());
    return settings;
}

void takeNamesOfLoadedConfig() {
    ColorSettings& settings = colorSettings();
    const ColorSettings loaded = namesOf(ColourConfig::instance());
    settings.inputSpaces = loaded.inputSpaces;
    settings.renderingSpace = loaded.renderingSpace;
}

bool loadConfig(const std::string& path, std::string& error) {
    ColourConfig& config = ColourConfig::instance();
    const std::string before = config.path();
    if (!config.load(path, error)) {
        return false;
    }
    takeNamesOfLoadedConfig();
    if (config.path() != before) {
        raiseEvent("colorMgtConfigFilePathChanged");
        raiseEvent("colorMgtConfigChanged");
    }
    return true;
}

}  // namespace host::builtins
