// Deep video benchmark: a 10-bit clip played at cacheDepth Auto (8-bit frames) and Half (half
// float), each figure the median of several runs:
//   - memory per frame: the bytes the node's budget account charges for its frames, over the
//     frames stored, once the whole clip is in the window;
//   - first pass: every frame in order through Footage::frameFor, as a playing viewport asks for
//     them (opening included), decoding as it goes;
//   - second pass: the same from memory, each request converting nothing and uploading the frame.
// Usage: bench_deep_video [runs]   (default 3)

#include "BenchSupport.h"
#include "StoredFrames.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace bench;

constexpr int kFrames = 48;
constexpr std::chrono::seconds kStallLimit(120);

struct Clip {
    const char* label;
    const char* file;
    const char* encoding;
};

const Clip kClips[] = {
    {"ProRes 422 HQ 10-bit 1080p", "prores.mov",
     "-c:v prores_ks -profile:v 3 -pix_fmt yuv422p10le"},
    {"HEVC Main 10 1080p", "hevc.mp4",
     "-c:v libx265 -preset veryfast -x265-params log-level=error:keyint=24 -pix_fmt yuv420p10le"},
};

struct Figures {
    double bytesPerFrame = 0.0;
    double firstPassFps = 0.0;
    double secondPassFps = 0.0;
};

void expectShown(Sheet& sheet, const std::string& clip, int frame) {
    if (!sheet.show(clip, frame, kFrames)) {
        throw std::runtime_error("frame " + std::to_string(frame) + " was not shown");
    }
}

double playSeconds(Sheet& sheet, const std::string& clip) {
    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < kFrames; ++frame) {
        expectShown(sheet, clip, frame);
    }
    return secondsSince(start);
}

Figures measureOnce(const MObject& node, const std::string& clip, decode::CacheDepth depth) {
    Sheet sheet(node);
    sheet.depth = depth;
    Figures figures;
    figures.firstPassFps = kFrames / playSeconds(sheet, clip);
    const Clock::time_point deadline = Clock::now() + kStallLimit;
    while (storedFrames(*sheet.footage) < static_cast<std::size_t>(kFrames)) {
        if (Clock::now() > deadline) {
            throw std::runtime_error("the worker did not cache the whole clip");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    figures.bytesPerFrame =
        static_cast<double>(sheet.footage->video().account().bytes(video::Spend::kFrames)) /
        static_cast<double>(storedFrames(*sheet.footage));
    figures.secondPassFps = kFrames / playSeconds(sheet, clip);
    return figures;
}

void measure(int runs) {
    ScratchDir scratch;
    SheetScene scene;
    std::printf("%d frames, cacheFrames %d (the whole clip is kept)\n", kFrames, kFrames);
    for (const Clip& clip : kClips) {
        const std::string path = (scratch.path() / clip.file).string();
        run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=1920x1080:rate=24 -frames:v " +
            std::to_string(kFrames) + " " + clip.encoding + " '" + path + "'");
        for (const auto depth : {decode::CacheDepth::kAuto, decode::CacheDepth::kHalf}) {
            std::vector<double> bytes, first, second;
            for (int i = 0; i < runs; ++i) {
                const Figures figures = measureOnce(scene.node, path, depth);
                bytes.push_back(figures.bytesPerFrame);
                first.push_back(figures.firstPassFps);
                second.push_back(figures.secondPassFps);
            }
            std::printf(
                "  %-28s %-4s memory per frame %5.1f MB   first pass %6.1f frames/s   from memory "
                "%6.1f frames/s\n",
                clip.label, depth == decode::CacheDepth::kAuto ? "Auto" : "Half",
                median(bytes) / 1e6, median(first), median(second));
            std::fflush(stdout);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("deep_video", argc, argv, measure);
}
