// Image-sequence playback benchmark, through cinesheet-host with the built plug-in, as an artist
// plays a numbered sequence: every frame in order by `currentTime N; refresh`, then the same
// frames a second time. Against the ffmpeg tool decoding the same images to RGBA in the same run:
//   - the first pass, host start-up included, as a ratio tool time / host time;
//   - the second pass, as how many times faster than the first pass it is.
// The host prints a line after start-up and after each pass; their arrival times split the run.
// PNG (8-bit RGB) and EXR (half float) at 1920x1080; every figure the median of several runs.
// Usage: bench_sequence_playback [runs]   (default 3)

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kFrames = 12;

struct Sequence {
    const char* label;
    const char* pattern;   // as the plug-in takes it
    const char* numbered;  // as the ffmpeg tool takes it
    const char* encoding;
};

const Sequence kSequences[] = {
    {"PNG 1080p (8-bit RGB)", "plate.####.png", "plate.%04d.png", ""},
    {"EXR 1080p (half float)", "plate.####.exr", "plate.%04d.exr",
     "-c:v exr -format half -compression zip1 -pix_fmt gbrpf32le"},
};

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};
using Pipe = std::unique_ptr<FILE, PipeCloser>;

struct HostRun {
    double startSeconds = 0.0;       // from launch until the sheet exists
    double firstPassSeconds = 0.0;   // playing every frame once
    double secondPassSeconds = 0.0;  // playing them all again
};

std::string playScript(const std::string& pattern) {
    std::string pass;
    for (int frame = 1; frame <= kFrames; ++frame) {
        pass += "currentTime " + std::to_string(frame) + "; refresh;\n";
    }
    return "loadPlugin \"" CINESHEET_PLUGIN_LIBRARY
           "\";\n"
           "camera -n shotCam;\n"
           "cineSheet -camera shotCam -filePath \"" +
           pattern + "\";\nprint \"started\\n\";\n" + pass + "print \"first\\n\";\n" + pass +
           "print \"second\\n\";\n";
}

HostRun playInHost(const fs::path& script) {
    const Clock::time_point launch = Clock::now();
    Pipe host(popen(("'" CINESHEET_HOST_BINARY "' '" + script.string() + "'").c_str(), "r"));
    if (!host) {
        throw std::runtime_error("cannot start cinesheet-host");
    }
    std::vector<double> marks;
    char line[256];
    while (std::fgets(line, sizeof line, host.get())) {
        const std::string text(line);
        if (text == "started\n" || text == "first\n" || text == "second\n") {
            marks.push_back(secondsSince(launch));
        }
    }
    if (pclose(host.release()) != 0 || marks.size() != 3) {
        throw std::runtime_error("cinesheet-host did not play the sequence");
    }
    return {marks[0], marks[1] - marks[0], marks[2] - marks[1]};
}

double toolSeconds(const fs::path& numbered) {
    const Clock::time_point start = Clock::now();
    run("ffmpeg -nostdin -v error -threads 1 -i '" + numbered.string() +
        "' -pix_fmt rgba -f null -");
    return secondsSince(start);
}

void reportSequence(const fs::path& folder, const Sequence& sequence, int runs) {
    run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=1920x1080:rate=24 -frames:v " +
        std::to_string(kFrames) + " -start_number 1 " + sequence.encoding + " '" +
        (folder / sequence.numbered).string() + "'");
    const fs::path script = folder / (std::string(sequence.numbered) + ".mel");
    std::ofstream(script) << playScript((folder / sequence.pattern).string());

    std::vector<double> tool, start, first, second;
    for (int i = 0; i < runs; ++i) {
        tool.push_back(toolSeconds(folder / sequence.numbered));
        const HostRun host = playInHost(script);
        start.push_back(host.startSeconds);
        first.push_back(host.startSeconds + host.firstPassSeconds);
        second.push_back(host.secondPassSeconds);
    }
    const double firstPass = median(first) - median(start);
    std::printf(
        "  %-24s first pass %5.1f frames/s (host start-up %.0f ms included: ratio %.2f against "
        "the tool's %.1f frames/s, target >= 0.9)   second pass %6.1f frames/s, %.1f x the "
        "first (target >= 5)\n",
        sequence.label, kFrames / firstPass, median(start) * 1e3, median(tool) / median(first),
        kFrames / median(tool), kFrames / median(second), firstPass / median(second));
    std::fflush(stdout);
}

void measure(int runs) {
    std::printf(
        "%d frames played in order through cinesheet-host twice, against `ffmpeg -threads 1 "
        "-i seq.%%04d.ext -pix_fmt rgba -f null -`\n",
        kFrames);
    ScratchDir scratch;
    for (const Sequence& sequence : kSequences) {
        reportSequence(scratch.path(), sequence, runs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("sequence_playback", argc, argv, measure);
}
