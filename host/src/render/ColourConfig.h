#pragma once

#include <OpenColorIO/OpenColorIO.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

class DisplayConversion;

// The OpenColorIO configuration the host's colour management runs on, as Maya's does: the one
// the OCIO environment variable names, else the default kept with the host, until another is
// loaded (colorManagementPrefs -edit -configFilePath). Used on the main thread only.
class ColourConfig {
public:
    static ColourConfig& instance();

    // Loads the configuration at the path. On failure the one loaded stays and `error` says why.
    bool load(const std::string& path, std::string& error);

    const std::string& path() const { return path_; }
    // The colour space names, aliases left out, in the configuration's order.
    std::vector<std::string> inputSpaceNames() const;
    // The space textures are converted to before the view: the scene_linear role.
    std::string renderingSpace() const;
    // How texels of the input space reach the display; null for a space the configuration does
    // not know (or no space at all): such texels are shown as stored.
    std::shared_ptr<const DisplayConversion> conversionFor(const std::string& inputSpace);

    static std::string defaultPath();

private:
    ColourConfig();

    OCIO_NAMESPACE::ConstConfigRcPtr config_;
    std::string path_;
    std::map<std::string, std::shared_ptr<const DisplayConversion>> conversions_;
};

}  // namespace host
