// How long the main thread is held in a refresh (the longest time one refresh spends in the
// plug-in's draw, as the host measures it), an artist's session against the same work waiting
// for every exact frame, as a playblast, a batch render, and every refresh before did:
//   - a jump deep into a one-keyframe 1280 x 720 clip of FRAMES frames (600), and the time until
//     its exact frame shows;
//   - PLATES plates (20) opened at once;
//   - scrubbing back and forth 50 times over a 1280 x 720 clip with a keyframe every 48 frames
//     (longest and 99th percentile refresh);
//   - real-time play of a 1920 x 1080 H.264 plate at 24 frames per second, cold then warm:
//     frames drawn and skipped.
// After the work measured the idle queue runs as an idle Maya runs it until nothing more has
// been queued for three seconds: its last refresh is when the exact frames showed.

#include "BenchSupport.h"
#include "draw/CineSheetDrawOverride.h"

#include <host/Commands.h>
#include <host/IdleQueue.h>
#include <host/Interface.h>
#include <host/Playback.h>

#include <maya/MDrawRegistry.h>

#include <thread>

namespace {

using bench::Clock;

int setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

void script(const std::string& text) {
    if (!host::runScript(text, false, false)) {
        throw std::runtime_error("script failed: " + text);
    }
}

// Runs the idle queue as an idle session does until nothing has been queued for `quiet`
// seconds; the seconds from `start` to the last work it ran (to now when it ran none).
double settle(Clock::time_point start, double quiet) {
    Clock::time_point last = Clock::now();
    while (bench::secondsSince(last) < quiet) {
        if (host::idleQueueLength() > 0) {
            host::runIdleQueue();
            last = Clock::now();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::chrono::duration<double>(last - start).count();
}

// A scene of `files.size()` nodes, one per file, following the scene's time, drawn by the
// plug-in's override, in an artist's session or not.
class Scene {
public:
    Scene(const std::vector<std::string>& files, bool interactive) {
        bench::freshSceneWithSheetType();
        MHWRender::MDrawRegistry::registerDrawOverrideCreator(CineSheet::drawDbClassification,
                                                              CineSheet::drawRegistrantId,
                                                              CineSheetDrawOverride::creator);
        host::setInteractiveSession(interactive);
        host::resetPlaybackOptions();
        for (size_t i = 0; i < files.size(); ++i) {
            const std::string name = "plate" + std::to_string(i);
            script("createNode transform -n " + name + "; createNode CineSheet -n " + name +
                   "Shape -p " + name + "; connectAttr time1.outTime " + name +
                   "Shape.frame; setAttr -type \"string\" " + name + "Shape.file \"" + files[i] +
                   "\"");
        }
    }
    ~Scene() {
        host::newScene();
        MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(CineSheet::drawDbClassification,
                                                                CineSheet::drawRegistrantId);
        host::deregisterPluginNodeType(CineSheet::id);
        host::setInteractiveSession(false);
        host::runIdleQueue();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
};

// The longest refresh of `work` and of the idle refreshes after it, in milliseconds, and the
// seconds until all was shown.
struct Held {
    double longestMs = 0.0;
    double seconds = 0.0;
};

Held measure(const std::string& work) {
    host::resetDrawTiming();
    const Clock::time_point start = Clock::now();
    script(work);
    const double seconds = settle(start, 3.0);
    return Held{host::longestDrawMilliseconds(), seconds};
}

void row(const char* what, const Held& interactive, const Held& exact) {
    std::printf("  %-34s %8.1f ms %7.2f s   %8.1f ms %7.2f s\n", what, interactive.longestMs,
                interactive.seconds, exact.longestMs, exact.seconds);
    std::fflush(stdout);
}

std::string clip(const bench::ScratchDir& dir, const char* name, const std::string& arguments) {
    const std::string path = (dir.path() / name).string();
    bench::run("ffmpeg -nostdin -v error -y " + arguments + " \"" + path + "\"");
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::runBenchmark("bench_refresh_latency", argc, argv, [](int) {
        const int frames = setting("FRAMES", 600);
        const int plates = setting("PLATES", 20);
        bench::ScratchDir dir;
        const std::string frameCount = std::to_string(frames);
        const std::string deep = clip(
            dir, "deep.mp4",
            "-f lavfi -i testsrc2=s=1280x720:r=24 -frames:v " + frameCount + " -c:v libx264 -g " +
                frameCount + " -keyint_min " + frameCount + " -sc_threshold 0 -pix_fmt yuv420p");
        const std::string gop48 = clip(dir, "gop48.mp4",
                                       "-f lavfi -i testsrc2=s=1280x720:r=24 -frames:v 480 "
                                       "-c:v libx264 -g 48 -pix_fmt yuv420p");
        const std::string plate = clip(dir, "plate.mp4",
                                       "-f lavfi -i testsrc2=s=1280x720:r=24 -frames:v 48 "
                                       "-c:v libx264 -g 24 -pix_fmt yuv420p");
        const std::string hd = clip(dir, "hd.mp4",
                                    "-f lavfi -i testsrc2=s=1920x1080:r=24 -frames:v 120 "
                                    "-c:v libx264 -pix_fmt yuv420p");
        std::vector<std::string> plateFiles;
        for (int i = 0; i < plates; ++i) {
            plateFiles.push_back((dir.path() / ("plate" + std::to_string(i) + ".mp4")).string());
            std::filesystem::copy_file(plate, plateFiles.back());
        }
        std::printf("  %-34s %22s   %22s\n", "longest refresh, time to exact", "artist's session",
                    "always waiting");
        Held held[2];
        for (int exact = 0; exact < 2; ++exact) {
            const Scene scene({deep}, exact == 0);
            measure("currentTime 0; refresh");
            held[exact] = measure("currentTime " + std::to_string(frames - 50) + "; refresh");
        }
        row(("jump to frame " + std::to_string(frames - 50) + " of one GOP").c_str(), held[0],
            held[1]);
        for (int exact = 0; exact < 2; ++exact) {
            const Scene scene(plateFiles, exact == 0);
            held[exact] = measure("currentTime 1; refresh");
        }
        row((std::to_string(plates) + " plates opened at once").c_str(), held[0], held[1]);

        std::vector<double> perRefresh[2];
        for (int exact = 0; exact < 2; ++exact) {
            const Scene scene({gop48}, exact == 0);
            measure("currentTime 100; refresh");
            const Clock::time_point start = Clock::now();
            for (int stroke = 0; stroke < 50; ++stroke) {
                for (int step = 1; step <= 6; ++step) {
                    const int frame = stroke % 2 == 0 ? 100 + 50 * step : 400 - 50 * step;
                    host::resetDrawTiming();
                    script("scrub " + std::to_string(frame));
                    perRefresh[exact].push_back(host::longestDrawMilliseconds());
                    host::runIdleQueue();
                }
            }
            held[exact] =
                Held{bench::percentile(perRefresh[exact], 1.0), bench::secondsSince(start)};
        }
        row("scrub 50 strokes: longest", held[0], held[1]);
        std::printf("  %-34s %8.1f ms %10s   %8.1f ms\n", "scrub 50 strokes: 99th percentile",
                    bench::percentile(perRefresh[0], 0.99), "",
                    bench::percentile(perRefresh[1], 0.99));

        for (int exact = 0; exact < 2; ++exact) {
            const Scene scene({hd}, exact == 0);
            for (const char* cache : {"cold", "warm"}) {
                script("currentTime 0; playbackOptions -min 0 -max 119 -ps 1; play -wait");
                const host::PlaybackReport played = host::latestPlayback();
                std::printf(
                    "  play 120 frames 1080p at 24 fps, %s, %s: %d drawn, %d skipped "
                    "in %.2f s\n",
                    exact == 0 ? "artist's session" : "always waiting", cache, played.drawn,
                    played.skipped, played.seconds);
                settle(Clock::now(), 0.5);
            }
        }
    });
}
