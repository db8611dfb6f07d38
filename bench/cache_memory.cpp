// Cache memory and wait benchmark. Each case runs in a child process of its own, so that its peak
// resident memory is its own:
//   - the peak memory a node's cache reaches, against cacheFrames × frame bytes, on a clip whose
//     first block is one frame long (then 48) and on a clip that is one long block;
//   - three nodes sharing a 64 MB budget (CINESHEET_CACHE_MB=64);
//   - how long a request takes for a frame that will never come (no worker; a frame that does
//     not decode), as a ratio against a request for a frame already in the cache.
// Usage: bench_cache_memory   (or bench_cache_memory --case NAME CLIP, the child it starts)

#include "BenchSupport.h"
#include "StoredFrames.h"
#include "cache/CacheBudget.h"
#include "node/CineSheet.h"
#include "picture/CacheImage.h"

#include <host/NodeTypes.h>
#include <host/Scene.h>

#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace bench;
constexpr double kMegabyte = 1024.0 * 1024.0;

// Resident memory of this process now and at its peak, in bytes.
long residentBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(field)) * 1024;
        }
    }
    return 0;
}

// A scene with the CineSheet node type and `count` nodes, each with its draw override.
class Nodes {
public:
    explicit Nodes(int count) {
        bench::freshSceneWithSheetType();
        for (int i = 0; i < count; ++i) {
            MDagModifier modifier;
            const MObject transform = modifier.createNode(CineSheet::className);
            modifier.doIt();
            sheets.push_back(std::make_unique<bench::Sheet>(MFnDagNode(transform).child(0)));
        }
    }
    ~Nodes() {
        sheets.clear();
        host::newScene();
        host::deregisterPluginNodeType(CineSheet::id);
    }
    bool show(size_t node, const std::string& clip, int frame, int cacheFrames) {
        return sheets[node]->show(clip, frame, cacheFrames);
    }
    std::vector<std::unique_ptr<bench::Sheet>> sheets;
};

// Waits until no node's store has changed for half a second, noting the budget's peak.
size_t settle(Nodes& nodes) {
    size_t peakUsed = 0;
    std::vector<size_t> last;
    auto quietSince = Clock::now();
    while (Clock::now() - quietSince < std::chrono::milliseconds(500)) {
        std::vector<size_t> now;
        for (auto& sheet : nodes.sheets) {
            now.push_back(storedFrames(*sheet->footage));
        }
        peakUsed = std::max(peakUsed, video::CacheBudget::instance().used());
        if (now != last) {
            last = now;
            quietSince = Clock::now();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return peakUsed;
}

int memoryCase(const std::string& name, const std::string& clip, int width, int height,
               std::vector<int> frames, int nodeCount) {
    const int cacheFrames = 120;
    const long before = residentBytes("VmRSS:");
    size_t peakUsed = 0;
    size_t stored = 0;
    {
        Nodes nodes(nodeCount);
        for (int frame : frames) {
            for (int node = 0; node < nodeCount; ++node) {
                nodes.show(static_cast<size_t>(node), clip, frame + 5 * node, cacheFrames);
            }
            peakUsed = std::max(peakUsed, settle(nodes));
        }
        for (auto& sheet : nodes.sheets) {
            stored += storedFrames(*sheet->footage);
        }
    }
    const double window = static_cast<double>(nodeCount) * cacheFrames *
                          static_cast<double>(video::cacheImageBytes(width, height, 1));
    const double growth = static_cast<double>(residentBytes("VmHWM:") - before);
    std::printf(
        "  %-34s window %7.1f MB | frames at the end %4zu | budget peak %7.1f MB (%.2f x) "
        "| resident peak growth %7.1f MB (%.2f x)\n",
        name.c_str(), window / kMegabyte, stored, peakUsed / kMegabyte, peakUsed / window,
        growth / kMegabyte, growth / window);
    // Memory given back after the nodes close (frame buffers may be kept a while for other
    // nodes): the growth at once, the lowest over the next 8 s, and when it first came within a
    // megabyte of that.
    const auto closed = Clock::now();
    std::vector<std::pair<double, double>> samples;
    while (Clock::now() - closed < std::chrono::seconds(8)) {
        samples.emplace_back(std::chrono::duration<double>(Clock::now() - closed).count(),
                             static_cast<double>(residentBytes("VmRSS:") - before));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    double lowest = samples.front().second;
    for (const auto& sample : samples) {
        lowest = std::min(lowest, sample.second);
    }
    double reached = 0.0;
    for (const auto& sample : samples) {
        if (sample.second <= lowest + kMegabyte) {
            reached = sample.first;
            break;
        }
    }
    std::printf(
        "  %-34s nodes closed: resident growth %7.1f MB at once, %7.1f MB after %.2f s (lowest "
        "in 8 s)\n",
        "", samples.front().second / kMegabyte, lowest / kMegabyte, reached);
    return 0;
}

// Median duration of `request` over a few calls, in microseconds.
template <typename Request>
double medianUs(int calls, Request request) {
    std::vector<double> ms;
    for (int i = 0; i < calls; ++i) {
        const auto start = Clock::now();
        request(i);
        ms.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return median(ms);
}

int waitCase(const std::string& clip, const std::string& deadClip) {
    double resident = 0.0;
    {
        Nodes nodes(1);
        nodes.show(0, clip, 0, 120);
        settle(nodes);
        resident = medianUs(50, [&](int i) { nodes.show(0, clip, i % 24, 120); });
    }
    double dead = 0.0;
    {
        Nodes nodes(1);
        nodes.show(0, deadClip, 2, 120);
        settle(nodes);
        nodes.show(0, deadClip, 6, 120);
        dead = medianUs(20, [&](int i) { nodes.show(0, deadClip, 4 + i % 11, 120); });
    }
    std::printf("  request for a resident frame (reference)   %9.1f us\n", resident);
    std::printf("  request for a frame that never decodes     %9.1f us (%.2f x)\n", dead,
                dead / resident);
    return 0;
}

std::string makeClip(const fs::path& folder, const std::string& name, const std::string& args) {
    const std::string path = (folder / name).string();
    run("ffmpeg -nostdin -v error -y -f lavfi -i " + args + " '" + path + "'");
    return path;
}

int benchmark() {
    const fs::path folder =
        fs::temp_directory_path() / ("cache_memory." + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string shortFirst = makeClip(
        folder, "shortfirst.mp4",
        "testsrc2=s=640x360:r=24 -frames:v 480 -c:v libx264 -g 48 -keyint_min 1 -sc_threshold 0 "
        "-force_key_frames 'expr:eq(n,1)' -preset ultrafast -pix_fmt yuv420p");
    const std::string single =
        makeClip(folder, "single.mp4",
                 "testsrc2=s=1280x720:r=24 -frames:v 480 -c:v libx264 -g 1000 -keyint_min 1000 "
                 "-sc_threshold 0 -preset ultrafast -pix_fmt yuv420p");
    const std::string intra =
        makeClip(folder, "intra.avi", "testsrc2=s=640x360:r=24 -frames:v 24 -c:v mjpeg");
    std::printf("cache_memory: cacheFrames 120, Full resolution; each case in its own process\n");
    std::fflush(stdout);
    run("'" + self + "' --case short '" + shortFirst + "'");
    run("'" + self + "' --case single '" + single + "'");
    run("CINESHEET_CACHE_MB=64 '" + self + "' --case shared '" + shortFirst + "'");
    run("'" + self + "' --case waits '" + intra + "'");
    fs::remove_all(folder);
    return 0;
}

// The clip with frames 4 to 14 zeroed out, so that they never decode.
std::string deadFramesCopy(const std::string& clip) {
    const std::string copy = clip + ".dead.avi";
    run("cp '" + clip + "' '" + copy + "'");
    run("ffprobe -v error -select_streams v -show_entries packet=pos,size -of csv=p=0 '" + clip +
        "' | sed -n '5,15p' | while IFS=, read size pos; do dd if=/dev/zero of='" + copy +
        "' bs=1 seek=$pos count=$size conv=notrunc status=none; done");
    return copy;
}

int runCase(const std::string& name, const std::string& clip) {
    if (name == "short") {
        return memoryCase("first block 1 frame, then 48 (640x360)", clip, 640, 360, {240}, 1);
    }
    if (name == "single") {
        return memoryCase("one block of 480 frames (1280x720)", clip, 1280, 720, {400, 300, 60}, 1);
    }
    if (name == "shared") {
        std::printf("  (budget %.0f MB)\n", video::CacheBudget::instance().limit() / kMegabyte);
        return memoryCase("3 nodes, 640x360, budget 64 MB", clip, 640, 360, {240, 100}, 3);
    }
    return waitCase(clip, deadFramesCopy(clip));
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--case") {
            return runCase(argv[2], argv[3]);
        }
        return benchmark();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cache_memory: %s\n", error.what());
        return 1;
    }
}
