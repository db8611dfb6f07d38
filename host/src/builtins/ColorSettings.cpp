#include "builtins/ColorSettings.h"

#include "render/ColourConfig.h"

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

}  // namespace host::builtins
