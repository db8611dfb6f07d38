#include "render/ColourConfig.h"

#include "render/ColourManagement.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace OCIO = OCIO_NAMESPACE;

namespace host {
namespace {

// Why the path names no file a configuration can be read from; empty when it may. Only a
// regular file is opened: opening a named pipe waits for a writer (start-up would hang on one
// named by OCIO), and the YAML reader given a folder leaks memory before it fails. A path that is
// not there is left to OpenColorIO, whose message says so. Maya documents nothing of either
// case; the stand-in refuses them as it refuses any configuration it cannot load.
std::string whyNoConfigFile(const std::string& path) {
    std::error_code error;
    switch (std::filesystem::status(path, error).type()) {
        case std::filesystem::file_type::regular:
        case std::filesystem::file_type::not_found:
        case std::filesystem::file_type::none:
            return std::string();
        case std::filesystem::file_type::directory:
            return "it is a folder, not a configuration file";
        default:
            return "it is not a regular file but a pipe, socket or device";
    }
}

OCIO::ConstConfigRcPtr readConfig(const std::string& path, std::string& error) {
    error = whyNoConfigFile(path);
    if (!error.empty()) {
        return nullptr;
    }
    try {
        OCIO::ConstConfigRcPtr config = OCIO::Config::CreateFromFile(path.c_str());
        config->validate();
        return config;
    } catch (const OCIO::Exception& exception) {
        error = exception.what();
        return nullptr;
    }
}

}  // namespace

std::string ColourConfig::defaultPath() {
    return CINESHEET_HOST_OCIO_CONFIG;
}

// Maya reads the OCIO variable at start; a configuration it cannot read leaves the default.
ColourConfig::ColourConfig() {
    std::string error;
    const char* fromEnvironment = std::getenv("OCIO");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0' && !load(fromEnvironment, error)) {
        std::cerr << "// Error: cannot load the OCIO configuration " << fromEnvironment << ": "
                  << error << "\n";
    }
    if (!config_ && !load(defaultPath(), error)) {
        std::cerr << "// Error: cannot load the OCIO configuration " << defaultPath() << ": "
                  << error << "\n";
    }
}

ColourConfig& ColourConfig::instance() {
    static ColourConfig config;
    return config;
}

bool ColourConfig::load(const std::string& path, std::string& error) {
    OCIO::ConstConfigRcPtr config = readConfig(path, error);
    if (!config) {
        return false;
    }
    config_ = config;
    path_ = path;
    conversions_.clear();
    return true;
}

std::vector<std::string> ColourConfig::inputSpaceNames() const {
    std::vector<std::string> names;
    if (!config_) {
        return names;
    }
    for (int i = 0; i < config_->getNumColorSpaces(); ++i) {
        names.emplace_back(config_->getColorSpaceNameByIndex(i));
    }
    return names;
}

// Maya takes its rendering space from its preferences; a configuration alone names it through
// this role, which Maya's own configurations set to it.
std::string ColourConfig::renderingSpace() const {
    if (!config_) {
        return std::string();
    }
    const OCIO::ConstColorSpaceRcPtr space = config_->getColorSpace(OCIO::ROLE_SCENE_LINEAR);
    return space ? space->getName() : std::string();
}

std::shared_ptr<const DisplayConversion> ColourConfig::conversionFor(
    const std::string& inputSpace) {
    if (!config_ || inputSpace.empty()) {
        return nullptr;
    }
    const auto known = conversions_.find(inputSpace);
    if (known != conversions_.end()) {
        return known->second;
    }
    std::shared_ptr<const DisplayConversion> conversion;
    const OCIO::ConstColorSpaceRcPtr input = config_->getColorSpace(inputSpace.c_str());
    const std::string rendering = renderingSpace();
    if (input && !rendering.empty()) {
        try {
            const OCIO::GroupTransformRcPtr steps = OCIO::GroupTransform::Create();
            if (!input->isData()) {
                const OCIO::ColorSpaceTransformRcPtr toRendering =
                    OCIO::ColorSpaceTransform::Create();
                toRendering->setSrc(input->getName());
                toRendering->setDst(rendering.c_str());
                steps->appendTransform(toRendering);
            }
            const char* display = config_->getDefaultDisplay();
            const OCIO::DisplayViewTransformRcPtr view = OCIO::DisplayViewTransform::Create();
            view->setSrc(rendering.c_str());
            view->setDisplay(display);
            view->setView(config_->getDefaultView(display));
            steps->appendTransform(view);
            conversion = std::make_shared<DisplayConversion>(
                config_->getProcessor(steps)->getDefaultCPUProcessor());
        } catch (const OCIO::Exception& exception) {
            std::cerr << "// Error: no colour conversion from " << inputSpace << ": "
                      << exception.what() << "\n";
        }
    }
    conversions_[inputSpace] = conversion;
    return conversion;
}

}  // namespace host
