#pragma once

// What every benchmark shares: timing and statistics, the load average, running the ffmpeg tool,
// a scratch folder, and a CineSheet node in the stand-in host with draw overrides on it.

#include "draw/CineSheetData.h"
#include "footage/Footage.h"
#include "node/CineSheet.h"
#include "node/MayaFootageHost.h"

#include <host/NodeTypes.h>
#include <host/Scene.h>

#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double percentile(const std::vector<double>& values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    // Selected in a copy of the caller's, whose order stays as it was.
    std::vector<double> ordered(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(ordered.size() - 1));
    std::nth_element(ordered.begin(), ordered.begin() + static_cast<std::ptrdiff_t>(index),
                     ordered.end());
    return ordered[index];
}

inline double median(const std::vector<double>& values) {
    return percentile(values, 0.5);
}

inline std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// User and system CPU time of this process (RUSAGE_SELF) or its finished children.
inline double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("command failed: " + command);
    }
}

// A temporary folder that goes away with everything in it.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "cinesheet_bench.XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A fresh scene with the CineSheet node type registered, as loading the plug-in does.
inline void freshSceneWithSheetType() {
    host::newScene();
    host::PluginNodeType type;
    type.name = CineSheet::className;
    type.id = CineSheet::id;
    type.creator = CineSheet::creator;
    type.initialize = CineSheet::initialize;
    type.kind = MPxNode::kLocatorNode;
    type.classification = CineSheet::drawDbClassification;
    type.pluginName = "CineSheetBench";
    if (!host::registerPluginNodeType(type)) {
        throw std::runtime_error("cannot register the CineSheet node type");
    }
}

// A fresh scene with the CineSheet node type registered and one CineSheet node.
class SheetScene {
public:
    SheetScene() {
        freshSceneWithSheetType();
        MDagModifier modifier;
        const MObject transform = modifier.createNode(CineSheet::className);
        if (!modifier.doIt()) {
            throw std::runtime_error("cannot create a CineSheet node");
        }
        node = MFnDagNode(transform).child(0);
    }
    ~SheetScene() {
        host::newScene();
        host::deregisterPluginNodeType(CineSheet::id);
    }
    SheetScene(const SheetScene&) = delete;
    SheetScene& operator=(const SheetScene&) = delete;

    MObject node;
};

// The footage of a node and a draw data to show its frames in, as frame preparation drives
// them; the data goes first, as the host deletes it before the override.
struct Sheet {
    explicit Sheet(const MObject&)
        : footage(std::make_unique<Footage>(mayaFootageHost())),
          data(std::make_unique<CineSheetData>()) {}
    ~Sheet() {
        data.reset();
        footage.reset();
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // The frame uploaded into the data's texture at gamma 1 with the frame rate not forced, as
    // frame preparation asks for it; true when it was shown, or has no picture to show.
    bool show(const std::string& path, int frame, int cacheFrames) {
        FootageRequest request;
        request.path = path.c_str();
        request.frame = frame;
        request.divisor = divisor;
        request.depth = depth;
        request.cacheFrames = cacheFrames;
        // A viewport's wait, long enough that only a stalled cache misses it.
        request.deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        const FootageResult result = footage->frameFor(
            request, [this](const unsigned char* pixels, const LoadedMedium& medium, int at) {
                return data->textureFor(medium, at) && data->texture().upload(pixels);
            });
        return result.answer != FootageAnswer::kNotInTime;
    }
    // The divisor later requests are made at.
    void setDivisor(int value) {
        divisor = value;
        footage->video().setResolutionDivisor(value);
    }

    std::unique_ptr<Footage> footage;
    std::unique_ptr<CineSheetData> data;
    int divisor = 1;
    // The cacheDepth later requests are made at.
    decode::CacheDepth depth = decode::CacheDepth::kAuto;
};

// Whether the row is among those `only` names ("a|b": labels holding a or b); every row without.
inline bool rowChosen(const char* label, const char* only) {
    if (!only) {
        return true;
    }
    const std::string texts = only;
    size_t begin = 0;
    for (;;) {
        const size_t end = texts.find('|', begin);
        const std::string text = texts.substr(begin, end - begin);
        if (!text.empty() && std::strstr(label, text.c_str())) {
            return true;
        }
        if (end == std::string::npos) {
            return false;
        }
        begin = end + 1;
    }
}

// A benchmark's main: `name [runs]` (default 3 runs per figure), the load average before and
// after the figures, and any failure reported with the benchmark's name and exit status 1.
inline int runBenchmark(const char* name, int argc, char** argv,
                        const std::function<void(int runs)>& measure) {
    try {
        const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
        std::printf("%s: %d run(s) per figure, load average %s\n", name, runs,
                    loadAverage().c_str());
        std::fflush(stdout);
        measure(runs);
        std::printf("load average at the end: %s\n", loadAverage().c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return 1;
    }
}

}  // namespace bench
