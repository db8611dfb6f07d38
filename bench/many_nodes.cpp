// Many nodes on one workstation: NODES nodes (30) over CLIPS different clips (10) of SIZE
// (1920x1080), FRAMES frames each (120, the encoder's default keyframe interval), every node
// shown at every refresh with the default cacheFrames. One refresh shows frame 10 on every node;
// after the workers have read ahead for SETTLE_S seconds (3), STEPS refreshes (10) each step one
// frame forward; a refresh waits WAIT_S seconds (10) at most for its frames. Prints the peak
// resident memory, the most threads seen and the median and worst refresh after a one-frame step.
// The budget is CINESHEET_CACHE_MB as the plug-in reads it. Clips are made with the ffmpeg tool in
// CLIP_DIR (kept for later runs) or a scratch folder.
//
// With PLAY set (e.g. PLAY=24), measures instead a playback of PLAY frames from frame 0 with
// every node shown, against each node's clip played alone on one node, one after the other:
// prints both times and their ratio, which stays near 1 when the nodes' costs add up.
//
// With --check (the many-node case of `make stress`), exits 1 when a frame is not shown or the
// peak resident memory passes the budget plus MINIMUM_MB (the documented minimum of a shown
// node: its decoder, its texture and the frames it shows) per node plus BASELINE_MB (the
// process without nodes: libraries, the host).

#include "BenchSupport.h"
#include "cache/CacheBudget.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using bench::Clock;

int setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

long threadCount() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::atol(line.c_str() + 8);
        }
    }
    return 0;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct Refreshes {
    std::vector<std::unique_ptr<bench::Sheet>> sheets;
    std::vector<std::string> clips;
    long mostThreads = 0;
    int notShown = 0;
    int waitSeconds = 10;

    // Plays frames 0 to frames − 1, one refresh a frame; the seconds it took. Notes the slowest
    // refresh and its frame.
    double play(int frames) {
        const Clock::time_point start = Clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            const double took = show(frame);
            if (took > slowest) {
                slowest = took;
                slowestFrame = frame;
            }
        }
        return bench::secondsSince(start);
    }
    double slowest = 0.0;
    int slowestFrame = -1;

    // One refresh: every node asks for its frame, all sharing one bounded wait.
    double show(int frame) {
        const Clock::time_point start = Clock::now();
        const Clock::time_point deadline = start + std::chrono::seconds(waitSeconds);
        for (size_t node = 0; node < sheets.size(); ++node) {
            bench::Sheet& sheet = *sheets[node];
            FootageRequest request;
            request.path = clips[node % clips.size()].c_str();
            request.frame = frame;
            request.cacheFrames = 120;
            request.deadline = deadline;
            const FootageResult result = sheet.footage->frameFor(
                request,
                [&sheet](const unsigned char* pixels, const LoadedMedium& medium, int divisor) {
                    return sheet.data->textureFor(medium, divisor) &&
                           sheet.data->texture().upload(pixels);
                });
            notShown += result.answer == FootageAnswer::kShown ? 0 : 1;
        }
        mostThreads = std::max(mostThreads, threadCount());
        return bench::secondsSince(start) * 1e3;
    }
};

// The playback row: all nodes together, then each node's clip alone on one node.
void playTogetherAndAlone(Refreshes& together, const bench::SheetScene& scene, int nodes,
                          int frames) {
    for (int node = 0; node < nodes; ++node) {
        together.sheets.push_back(std::make_unique<bench::Sheet>(scene.node));
    }
    const double all = together.play(frames);
    together.sheets.clear();
    double alone = 0.0;
    int aloneNotShown = 0;
    double aloneSlowest = 0.0;
    for (int node = 0; node < nodes; ++node) {
        Refreshes single;
        single.waitSeconds = together.waitSeconds;
        single.clips = {together.clips[static_cast<size_t>(node) % together.clips.size()]};
        single.sheets.push_back(std::make_unique<bench::Sheet>(scene.node));
        alone += single.play(frames);
        aloneNotShown += single.notShown;
        aloneSlowest = std::max(aloneSlowest, single.slowest);
    }
    std::printf("%d frames played from frame 0, CINESHEET_CACHE_MB=%s\n", frames,
                std::getenv("CINESHEET_CACHE_MB") ? std::getenv("CINESHEET_CACHE_MB") : "(unset)");
    std::printf(
        "  %d nodes together %.2f s (frames not shown %d); each alone, summed %.2f s (frames "
        "not shown %d); together / alone %.2f\n",
        nodes, all, together.notShown, alone, aloneNotShown, alone > 0.0 ? all / alone : 0.0);
    std::printf("  slowest refresh together %.0f ms (frame %d), alone %.0f ms\n", together.slowest,
                together.slowestFrame, aloneSlowest);
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc > 1 && std::strcmp(argv[1], "--check") == 0;
    return bench::runBenchmark("many_nodes", 1, argv, [check](int) {
        const int nodes = setting("NODES", 30);
        const int clipCount = setting("CLIPS", 10);
        const int frames = setting("FRAMES", 120);
        const int steps = setting("STEPS", 10);
        const int settleSeconds = setting("SETTLE_S", 3);
        const char* size = std::getenv("SIZE") ? std::getenv("SIZE") : "1920x1080";
        bench::ScratchDir scratch;
        const bench::fs::path folder =
            std::getenv("CLIP_DIR") ? bench::fs::path(std::getenv("CLIP_DIR")) : scratch.path();
        bench::fs::create_directories(folder);
        Refreshes refreshes;
        refreshes.waitSeconds = setting("WAIT_S", 10);
        for (int clip = 0; clip < clipCount; ++clip) {
            std::ostringstream name;
            name << "clip" << clip << "_" << size << "_" << frames << ".mp4";
            const std::string path = (folder / name.str()).string();
            if (!bench::fs::exists(path)) {
                std::ostringstream command;
                command << "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=" << size
                        << ":r=24,hue=h=" << clip * 36 << " -frames:v " << frames
                        << " -c:v libx264 -preset veryfast -pix_fmt yuv420p " << path;
                bench::run(command.str());
            }
            refreshes.clips.push_back(path);
        }
        const double baseline = peakResidentMegabytes();
        bench::SheetScene scene;
        if (const int played = setting("PLAY", 0); played > 0 && !check) {
            playTogetherAndAlone(refreshes, scene, nodes, played);
            return;
        }
        for (int node = 0; node < nodes; ++node) {
            refreshes.sheets.push_back(std::make_unique<bench::Sheet>(scene.node));
        }
        const double first = refreshes.show(10);
        std::this_thread::sleep_for(std::chrono::seconds(settleSeconds));
        std::vector<double> stepped;
        for (int step = 1; step <= steps; ++step) {
            stepped.push_back(refreshes.show(10 + step));
        }
        const double peak = peakResidentMegabytes();
        const char* budget = std::getenv("CINESHEET_CACHE_MB");
        std::printf("%d nodes, %d clips of %s x %d frames, CINESHEET_CACHE_MB=%s\n", nodes,
                    clipCount, size, frames, budget ? budget : "(unset)");
        std::printf("  peak resident %.0f MB (%.0f MB before the nodes), threads %ld\n", peak,
                    baseline, refreshes.mostThreads);
        std::printf(
            "  first refresh %.0f ms; after a one-frame step: median %.0f ms, worst "
            "%.0f ms; frames not shown %d\n",
            first, bench::median(stepped), *std::max_element(stepped.begin(), stepped.end()),
            refreshes.notShown);
        const video::CacheBudget& counted = video::CacheBudget::instance();
        constexpr double kMegabyte = 1024.0 * 1024.0;
        std::printf(
            "  budget %.0f MB; counted at the end %.0f MB: frames %.0f, decoders %.0f, "
            "textures %.0f\n",
            counted.limit() / kMegabyte, counted.used() / kMegabyte,
            counted.used(video::Spend::kFrames) / kMegabyte,
            counted.used(video::Spend::kDecoder) / kMegabyte,
            counted.used(video::Spend::kTexture) / kMegabyte);
        if (check) {
            const double allowed = (budget ? std::atof(budget) : 0.0) +
                                   nodes * static_cast<double>(setting("MINIMUM_MB", 0)) +
                                   setting("BASELINE_MB", 0) + baseline;
            std::printf("  allowed %.0f MB\n", allowed);
            if (refreshes.notShown > 0 || peak > allowed) {
                throw std::runtime_error("memory past the budget, or frames not shown");
            }
        }
        refreshes.sheets.clear();
    });
}
