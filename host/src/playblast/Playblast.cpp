#include "playblast/Playblast.h"

#include <host/Commands.h>
#include <host/Playback.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include "image/PngWriter.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace host {
namespace {

// Puts the scene's time back when the playblast ends, however it ends.
class CurrentTimeKeeper {
public:
    CurrentTimeKeeper() : saved_(currentTime()) {}
    ~CurrentTimeKeeper() { setCurrentTime(saved_); }
    CurrentTimeKeeper(const CurrentTimeKeeper&) = delete;
    CurrentTimeKeeper& operator=(const CurrentTimeKeeper&) = delete;

private:
    MTime saved_;
};

// Number of whole frames from start to end, both included; 0 when the range is empty.
int frameCount(double startFrame, double endFrame) {
    // A small tolerance keeps 1 to 24 at 24 frames when the bounds went through a unit change.
    const double span = std::floor(endFrame - startFrame + 1e-6);
    return span < 0 ? 0 : static_cast<int>(span) + 1;
}

MStatus renderFrame(const PlayblastSettings& settings, double frame, const std::string& path) {
    MStatus status = setCurrentTime(MTime(frame, MTime::uiUnit()));
    RgbaPicture picture;
    if (status) {
        status = snapshot(settings.camera, settings.width, settings.height, picture);
    }
    if (!status) {
        return status;
    }
    if (!writeRgbaPng(path, picture.pixels.data(), picture.width, picture.height,
                      RowOrder::TopFirst)) {
        return MStatus::kFailure;
    }
    return MStatus::kSuccess;
}

}  // namespace

std::string playblastFramePath(const std::string& prefix, int frame, int padding) {
    char number[32];
    std::snprintf(number, sizeof number, "%0*d", padding, frame);
    return prefix + "." + number + ".png";
}

std::string playblastPattern(const std::string& prefix, int padding) {
    return prefix + "." + std::string(static_cast<std::size_t>(padding), '#') + ".png";
}

MStatus playblast(const PlayblastSettings& settings, std::vector<std::string>& files) {
    const int count = frameCount(settings.startFrame, settings.endFrame);
    if (count == 0 || settings.width <= 0 || settings.height <= 0 || settings.prefix.empty()) {
        return MStatus::kInvalidParameter;
    }
    const std::filesystem::path folder = std::filesystem::path(settings.prefix).parent_path();
    std::error_code ignored;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }

    // Maya's playblast registers "playblasting" for its whole run, for scripts and plug-ins to
    // tell it from interactive drawing.
    // https://help.autodesk.com/cloudhelp/2020/ENU/Maya-Tech-Docs/Commands/playblast.html
    const ConditionScope playblasting("playblasting");
    const CurrentTimeKeeper keeper;
    const auto started = std::chrono::steady_clock::now();
    for (int index = 0; index < count; ++index) {
        const double frame = settings.startFrame + index;
        const std::string path = playblastFramePath(
            settings.prefix, static_cast<int>(std::lround(frame)), settings.framePadding);
        std::cerr << "playblast: frame " << formatNumber(frame) << " (" << index + 1 << "/" << count
                  << ")" << std::endl;
        const MStatus status = renderFrame(settings, frame, path);
        if (!status) {
            return status;
        }
        files.push_back(path);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    char timing[128];
    std::snprintf(timing, sizeof timing, "playblast: %d frames in %.3f s, %.1f ms per frame", count,
                  elapsed.count(), 1000.0 * elapsed.count() / count);
    std::cerr << timing << std::endl;
    return MStatus::kSuccess;
}

}  // namespace host
