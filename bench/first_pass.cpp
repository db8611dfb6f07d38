// First-pass benchmark: an artist's first play of a plate, in a fresh process. For each row a
// clip or sequence made with the ffmpeg tool is played once, every frame in order, one `refresh`
// each, by cinesheet-host with the plug-in loaded (process start, plug-in loading and opening
// the file included), against the ffmpeg tool decoding the same frames to RGBA on one thread
// (`ffmpeg -threads 1 ... -pix_fmt rgba -f null -`, whole command). Printed side by side: frames
// per second, the ratio (tool time / plug-in time: 1.0 or more is as fast as the tool), and the
// CPU time of each process per frame. Every figure is the best of several runs, fresh memory
// every time, since the machine may be shared; the load average is printed before and after.
// CINESHEET_BENCH_BEFORE=/path/to/libCineSheet.so plays each row with that build of the plug-in
// too, in turn with this one (each going first in every other run), for a before/after comparison
// on the same machine state; use an even number of runs.
// CINESHEET_BENCH_LOOK_MS=n has the host pause that long after showing the first picture, as an
// artist looks at it before playing (the pause is taken off the wall time, not the CPU time).
// CINESHEET_BENCH_ROWS=a|b keeps the rows whose label holds one of the texts. Where `perf` can
// record, each row is played once more under it and the largest items of that run's CPU time are
// printed, by library and by function (CINESHEET_BENCH_PROFILE=0 leaves this out). The host and the
// plug-in are those built next to the benchmark unless CINESHEET_HOST / CINESHEET_PLUGIN say.
// Usage: bench_first_pass [runs]   (default 3)

#include "BenchSupport.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace bench;

struct Row {
    const char* label;
    const char* file;  // a video, or a sequence's name with %04d
    const char* encoding;
    const char* size;
    int frames;
};

bool isSequence(const Row& row) {
    return std::strstr(row.file, "%04d") != nullptr;
}

const Row kRows[] = {
    {"H.264 1080p", "h264.mp4", "-c:v libx264 -g 24 -bf 3 -preset fast -pix_fmt yuv420p",
     "1920x1080", 96},
    {"ProRes 422 1080p", "prores.mov", "-c:v prores_ks -profile:v 2 -pix_fmt yuv422p10le",
     "1920x1080", 96},
    {"EXR sequence 1080p half", "plate.%04d.exr", "-pix_fmt gbrpf32le -c:v exr -format half",
     "1920x1080", 24},
    {"MJPEG 1080p", "mjpeg.mov", "-c:v mjpeg -q:v 3 -pix_fmt yuvj422p", "1920x1080", 96},
    {"H.264 3840x2160", "h264_4k.mp4", "-c:v libx264 -g 24 -bf 3 -preset veryfast -pix_fmt yuv420p",
     "3840x2160", 48},
    {"PNG sequence 1080p", "plate.%04d.png", "-pix_fmt rgb24", "1920x1080", 48},
};

// Wall and CPU (user and system, children included) seconds of one command.
struct Cost {
    double wall = 0.0;
    double cpu = 0.0;
};

Cost timed(const std::string& command) {
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot start: " + command);
    }
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("command failed: " + command);
    }
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return Cost{secondsSince(start), seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// The best wall time and the least CPU time of the runs.
struct Best {
    Cost best{1e30, 1e30};
    void add(const Cost& cost) {
        best.wall = std::min(best.wall, cost.wall);
        best.cpu = std::min(best.cpu, cost.cpu);
    }
};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// Next to this benchmark in the build tree, unless the variable names another.
std::string builtFile(const char* variable, const char* relative) {
    if (const char* named = std::getenv(variable)) {
        return named;
    }
    return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / relative).string();
}

std::string makeMedia(const fs::path& folder, const Row& row) {
    const std::string path = (folder / row.file).string();
    run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=" + std::string(row.size) +
        ":rate=24 -frames:v " + std::to_string(row.frames) + " " + row.encoding +
        (isSequence(row) ? " -start_number 1 " : " ") + quoted(path));
    return path;
}

std::string toolCommand(const std::string& media, const Row& row) {
    return "ffmpeg -nostdin -v error -threads 1 " +
           std::string(isSequence(row) ? "-start_number 1 " : "") + "-i " + quoted(media) +
           " -pix_fmt rgba -f null -";
}

// How long the artist looks at the first picture before playing, in milliseconds.
int lookMilliseconds() {
    const char* look = std::getenv("CINESHEET_BENCH_LOOK_MS");
    return look ? std::max(0, std::atoi(look)) : 0;
}

// A script playing every frame once, one refresh each, from scene frame 1, where both a video's
// first picture (at the start of the playback range) and a sequence's first file (its own
// number) land; after the look at the first picture.
std::string writeScript(const fs::path& script, const std::string& media, const Row& row,
                        const std::string& plugin) {
    std::string footage = media;
    if (isSequence(row)) {
        footage.replace(footage.find("%04d"), 4, "####");
    }
    std::ofstream out(script);
    out << "loadPlugin \"" << plugin << "\";\ncamera -n shotCam;\n"
        << "cineSheet -camera shotCam -filePath \"" << footage << "\";\n";
    const int first = 1;
    for (int frame = first; frame < first + row.frames; ++frame) {
        out << "currentTime " << frame << "; refresh;\n";
        if (frame == first && lookMilliseconds() > 0) {
            out << "system \"sleep " << lookMilliseconds() / 1000.0 << "\";\n";
        }
    }
    if (!out) {
        throw std::runtime_error("cannot write " + script.string());
    }
    return script.string();
}

// The host playing the script; a frame not shown in time (the host's warning) fails the run, as
// the figure would not count its decoding.
Cost played(const std::string& host, const std::string& script, const fs::path& folder) {
    const std::string output = (folder / "host.out").string();
    Cost cost = timed(quoted(host) + " " + quoted(script) + " >" + quoted(output) + " 2>&1");
    cost.wall -= lookMilliseconds() / 1000.0;
    std::ifstream in(output);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (said.find("Warning") != std::string::npos || said.find("Error") != std::string::npos) {
        throw std::runtime_error("the host warned while playing " + script + ":\n" + said);
    }
    return cost;
}

void printCost(const char* who, const Cost& cost, const Cost& tool, int frames) {
    std::printf("    %-8s %6.1f frames/s  ratio %.2f   CPU %5.1f ms a frame (%.2f x the tool's)\n",
                who, frames / cost.wall, tool.wall / cost.wall, cost.cpu * 1e3 / frames,
                cost.cpu / tool.cpu);
}

// The output of a command that reads nothing; empty when it fails.
std::string outputOf(const std::string& command) {
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char chunk[4096];
    size_t read = 0;
    while (pipe && (read = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0) {
        text.append(chunk, read);
    }
    return text;
}

bool profiling() {
    const char* wanted = std::getenv("CINESHEET_BENCH_PROFILE");
    if (wanted && std::strcmp(wanted, "0") == 0) {
        return false;
    }
    static const bool canRecord =
        std::system("perf record -q -o /dev/null -- true >/dev/null 2>&1") == 0;
    return canRecord;
}

// The lines of a `perf report` of at least `least` percent, up to `most`; FFmpeg's libraries
// come without symbols, so functions are listed only where they are named.
void printTop(const std::string& report, const char* sort, double least, int most) {
    const std::string lines =
        outputOf("perf report -i " + quoted(report) + " --stdio --no-children -q -g none --sort " +
                 sort + " --percent-limit " + std::to_string(least) + " 2>/dev/null");
    int printed = 0;
    size_t begin = 0;
    while (printed < most && begin < lines.size()) {
        size_t end = lines.find('\n', begin);
        if (end == std::string::npos) {
            end = lines.size();
        }
        const std::string line = lines.substr(begin, end - begin);
        begin = end + 1;
        if (line.find('%') == std::string::npos || line.find("[.] 0x") != std::string::npos) {
            continue;
        }
        std::printf("      %s\n", line.c_str() + line.find_first_not_of(' '));
        ++printed;
    }
}

// Plays the row once under perf and prints where the host's CPU time went.
void printProfile(const std::string& host, const std::string& script, const fs::path& folder) {
    const std::string report = (folder / "perf.data").string();
    run("perf record -q -o " + quoted(report) + " -- " + quoted(host) + " " + quoted(script) +
        " >/dev/null 2>&1");
    std::printf("    profile of the plug-in's run, by library:\n");
    printTop(report, "dso", 5.0, 6);
    std::printf("    by function (named ones):\n");
    printTop(report, "dso,sym", 2.0, 8);
    fs::remove(report);
}

void measure(int runs) {
    const std::string host = builtFile("CINESHEET_HOST", "host/cinesheet-host");
    const std::string plugin = builtFile("CINESHEET_PLUGIN", "plugin/libCineSheet.so");
    const char* before = std::getenv("CINESHEET_BENCH_BEFORE");
    const char* only = std::getenv("CINESHEET_BENCH_ROWS");
    std::printf(
        "first pass, fresh process: every frame once through `refresh` in cinesheet-host against "
        "`ffmpeg -threads 1 -i media -pix_fmt rgba -f null -`, whole commands, best of %d; "
        "ratio = tool time / plug-in time (target >= 1.0), CPU per frame (target for "
        "sequences <= 1.5 x the tool's)\n",
        runs);
    ScratchDir scratch;
    for (const Row& row : kRows) {
        if (!rowChosen(row.label, only)) {
            continue;
        }
        const std::string media = makeMedia(scratch.path(), row);
        const std::string script =
            writeScript(scratch.path() / "first_pass.mel", media, row, plugin);
        const std::string beforeScript =
            before ? writeScript(scratch.path() / "before.mel", media, row, before) : "";
        const std::string tool = toolCommand(media, row);
        timed(tool);  // brings the files into memory
        Best toolBest, pluginBest, beforeBest;
        for (int i = 0; i < runs; ++i) {
            toolBest.add(timed(tool));
            // The second of two plays in a row finds the memory the first freed ready, and runs
            // faster: the two builds take turns at going first.
            const bool beforeFirst = before && i % 2 == 1;
            if (beforeFirst) {
                beforeBest.add(played(host, beforeScript, scratch.path()));
            }
            pluginBest.add(played(host, script, scratch.path()));
            if (before && !beforeFirst) {
                beforeBest.add(played(host, beforeScript, scratch.path()));
            }
        }
        std::printf("  %-26s %3d frames  tool %6.1f frames/s, CPU %5.1f ms a frame\n", row.label,
                    row.frames, row.frames / toolBest.best.wall,
                    toolBest.best.cpu * 1e3 / row.frames);
        if (before) {
            printCost("before", beforeBest.best, toolBest.best, row.frames);
        }
        printCost("plug-in", pluginBest.best, toolBest.best, row.frames);
        if (profiling()) {
            printProfile(host, script, scratch.path());
        }
        std::fflush(stdout);
        for (int frame = 1; isSequence(row) && frame <= row.frames; ++frame) {
            char name[32];
            std::snprintf(name, sizeof name, "%04d", frame);
            std::string file = media;
            file.replace(file.find("%04d"), 4, name);
            fs::remove(file);
        }
        if (!isSequence(row)) {
            fs::remove(media);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("first_pass", argc, argv, measure);
}
