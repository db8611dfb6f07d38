// Playback benchmark: footage as an artist plays and scrubs it, each figure a ratio against a
// yardstick measured on the same clip in the same run (short clips made with the ffmpeg tool):
//   - playback: every frame in order through Footage::frameFor, as a playing viewport asks for them
//     (node default window, opening included), against the ffmpeg tool decoding the same frames
//     to RGB24, whole command, on one thread and on all cores (CINESHEET_BENCH_ROWS=a|b keeps
//     the rows whose label holds one of the texts);
//   - far scrub: random frames far from each other, none of them cached, against the least work
//     that shows such a frame (seek to its keyframe, decode up to it, convert it);
//   - a request for a frame already in the cache, at 1080p, p50 and p95;
//   - with each playback row, what a frame's worth of fresh cache memory costs to allocate and
//     write once, against writing it again: the cache's first pass writes every frame into fresh
//     memory, which the tool, reusing a few buffers, never does.
// Every figure is the median of several runs, since the machine may be shared; the load average
// is printed before and after.
// Usage: bench_playback [runs]   (default 3)

#include "BareDecoder.h"
#include "BenchSupport.h"
#include "StoredFrames.h"
#include "picture/FrameMemory.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace bench;

// The cacheFrames attribute's default: the window a viewport plays with unless the artist
// changes it.
constexpr int kDefaultCacheFrames = 120;
constexpr int kCachedRequests = 500;
constexpr int kScrubRequests = 16;
// A request or a fill that takes longer than this has stalled.
constexpr std::chrono::seconds kStallLimit(120);

struct Footage {
    const char* label;
    const char* file;
    const char* encoding;  // ffmpeg output options
    const char* size;
    int frames;
    bool longGop;  // also measured against the tool on all cores
};

const Footage kFootage[] = {
    {"H.264 1080p, GOP 24, B-frames", "h264.mp4",
     "-c:v libx264 -g 24 -bf 3 -preset fast -pix_fmt yuv420p", "1920x1080", 96, true},
    {"HEVC 1080p", "hevc.mp4",
     "-c:v libx265 -preset veryfast -x265-params log-level=error:keyint=24 -pix_fmt yuv420p "
     "-tag:v hvc1",
     "1920x1080", 96, true},
    {"ProRes 422 1080p", "prores.mov", "-c:v prores_ks -profile:v 2 -pix_fmt yuv422p10le",
     "1920x1080", 96, false},
    {"MJPEG 1080p", "mjpeg.mov", "-c:v mjpeg -q:v 3 -pix_fmt yuvj422p", "1920x1080", 96, false},
    {"H.264 3840x2160", "h264_4k.mp4", "-c:v libx264 -g 24 -bf 3 -preset veryfast -pix_fmt yuv420p",
     "3840x2160", 48, false},
};

// FFmpeg's warnings and errors while the plug-in plays are counted, not printed: a warning per
// frame then shows as a figure instead of a screenful.
std::atomic<int> ffmpegWarnings{0};

void countFfmpegMessage(void*, int level, const char*, va_list) {
    if (level <= AV_LOG_WARNING) {
        ++ffmpegWarnings;
    }
}

std::string makeClip(const fs::path& folder, const Footage& footage) {
    const std::string clip = (folder / footage.file).string();
    run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=" + std::string(footage.size) +
        ":rate=24 -frames:v " + std::to_string(footage.frames) + " " + footage.encoding + " '" +
        clip + "'");
    return clip;
}

// The ffmpeg tool decoding every frame to RGB24 and dropping it: wall time of the whole command.
double toolSeconds(const std::string& clip, int threads) {
    const Clock::time_point start = Clock::now();
    run("ffmpeg -nostdin -v error -threads " + std::to_string(threads) + " -i '" + clip +
        "' -pix_fmt rgb24 -sws_flags bilinear -f null -");
    return secondsSince(start);
}

double medianToolSeconds(const std::string& clip, int threads, int runs) {
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        seconds.push_back(toolSeconds(clip, threads));
    }
    return median(seconds);
}

void expectShown(Sheet& sheet, const std::string& clip, int frame, int cacheFrames) {
    if (!sheet.show(clip, frame, cacheFrames)) {
        throw std::runtime_error("frame " + std::to_string(frame) + " of " + clip +
                                 " was not shown");
    }
}

// A fresh node plays the clip from its first frame to its last, each request waiting for its
// frame as a viewport does; the file is opened by the first request.
double playSeconds(const MObject& node, const std::string& clip, int frames) {
    Sheet sheet(node);
    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        expectShown(sheet, clip, frame, kDefaultCacheFrames);
    }
    return secondsSince(start);
}

// Milliseconds per frame of `bytes` to allocate as the cache does and write for the first time,
// then to write again, over a window's worth of frames; the median of `runs` windows.
std::pair<double, double> freshMemoryMs(size_t bytes, int frames, int runs) {
    std::vector<double> fresh;
    std::vector<double> again;
    for (int run = 0; run < runs; ++run) {
        std::vector<std::unique_ptr<unsigned char, decltype(&std::free)>> buffers;
        Clock::time_point start = Clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            buffers.emplace_back(video::allocateFrameBuffer(bytes), &std::free);
            if (!buffers.back()) {
                throw std::runtime_error("no memory for the fresh-memory figure");
            }
            std::memset(buffers.back().get(), frame, bytes);
        }
        fresh.push_back(secondsSince(start) * 1e3 / frames);
        start = Clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            std::memset(buffers[static_cast<size_t>(frame)].get(), frame + 1, bytes);
        }
        again.push_back(secondsSince(start) * 1e3 / frames);
    }
    return {median(fresh), median(again)};
}

size_t rgbaBytes(const char* size) {
    int width = 0;
    int height = 0;
    if (std::sscanf(size, "%dx%d", &width, &height) != 2) {
        throw std::runtime_error(std::string("not a size: ") + size);
    }
    return static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
}

void reportPlayback(const MObject& node, const fs::path& folder, int runs) {
    std::printf(
        "playback: every frame in order through Footage::frameFor (cacheFrames %d, opening "
        "included) against `ffmpeg -threads N -i clip -pix_fmt rgb24 -f null -` on the same "
        "frames; ratio = tool time / plug-in time\n",
        kDefaultCacheFrames);
    const char* only = std::getenv("CINESHEET_BENCH_ROWS");
    for (const Footage& footage : kFootage) {
        if (!rowChosen(footage.label, only)) {
            continue;
        }
        const std::string clip = makeClip(folder, footage);
        const double oneThread = medianToolSeconds(clip, 1, runs);
        std::vector<double> played;
        ffmpegWarnings = 0;
        for (int i = 0; i < runs; ++i) {
            played.push_back(playSeconds(node, clip, footage.frames));
        }
        const double plugin = median(played);
        std::printf(
            "  %-30s %3d frames  plug-in %6.1f frames/s (FFmpeg warnings per pass %d, "
            "target 0)   -threads 1: %6.1f frames/s, ratio %.2f (target >= 1.0)",
            footage.label, footage.frames, footage.frames / plugin, ffmpegWarnings / runs,
            footage.frames / oneThread, oneThread / plugin);
        const double allCores = medianToolSeconds(clip, 0, runs);
        std::printf("   -threads 0: %6.1f frames/s, ratio %.2f (target >= %.1f)",
                    footage.frames / allCores, allCores / plugin, footage.longGop ? 0.8 : 0.9);
        const auto [fresh, again] = freshMemoryMs(rgbaBytes(footage.size), footage.frames, runs);
        std::printf(
            "\n    fresh frame memory: %.2f ms a frame to allocate and write once, %.2f ms "
            "to write again; the tool's whole frame on one thread %.2f ms",
            fresh, again, oneThread * 1e3 / footage.frames);
        std::printf("\n");
        std::fflush(stdout);
    }
}

// Random frames, each in another block than the one before, with a window of the frame alone:
// every request finds nothing cached, and the worker is idle when the next one comes.
std::vector<int> farFrames(int frameCount, int blockLength) {
    std::mt19937 random(20240);
    std::vector<int> frames;
    int previous = -blockLength;
    while (static_cast<int>(frames.size()) < kScrubRequests) {
        const int frame = static_cast<int>(random() % static_cast<unsigned>(frameCount));
        if (frame / blockLength != previous / blockLength) {
            frames.push_back(frame);
            previous = frame;
        }
    }
    return frames;
}

void reportFarScrub(const MObject& node, const fs::path& folder, int runs) {
    const Footage& footage = kFootage[0];
    const std::string clip = (folder / footage.file).string();
    const std::vector<int> frames = farFrames(footage.frames, 24);
    BareDecoder bare(clip);
    if (bare.frameCount() != footage.frames) {
        throw std::runtime_error("the bare decoder counts another number of frames");
    }
    std::vector<double> pluginMs;
    std::vector<double> bareMs;
    for (int i = 0; i < runs; ++i) {
        Sheet sheet(node);
        expectShown(sheet, clip, frames.back(), 1);  // opens the file
        for (int frame : frames) {
            Clock::time_point start = Clock::now();
            expectShown(sheet, clip, frame, 1);
            pluginMs.push_back(secondsSince(start) * 1e3);
            start = Clock::now();
            if (!bare.showFrame(frame)) {
                throw std::runtime_error("the bare decoder did not reach frame " +
                                         std::to_string(frame));
            }
            bareMs.push_back(secondsSince(start) * 1e3);
        }
    }
    std::printf(
        "far scrub, %s: %d random frames %d times, each in another block than the last, window "
        "of the frame alone (cacheFrames 1)\n",
        footage.label, kScrubRequests, runs);
    std::printf(
        "  plug-in p50 %.1f ms p95 %.1f ms   bare decode from the keyframe p50 %.1f ms p95 %.1f "
        "ms   ratio of medians %.2f (target <= 1.3)\n",
        median(pluginMs), percentile(pluginMs, 0.95), median(bareMs), percentile(bareMs, 0.95),
        median(pluginMs) / median(bareMs));
}

void waitUntilCached(Sheet& sheet, int frames) {
    const Clock::time_point deadline = Clock::now() + kStallLimit;
    while (storedFrames(*sheet.footage) < static_cast<std::size_t>(frames)) {
        if (Clock::now() > deadline) {
            throw std::runtime_error("the worker did not cache the whole clip");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void reportCachedRequests(const MObject& node, const fs::path& folder, int runs) {
    const Footage& footage = kFootage[0];
    const std::string clip = (folder / footage.file).string();
    std::mt19937 random(7);
    std::vector<double> p50, p95;
    for (int i = 0; i < runs; ++i) {
        Sheet sheet(node);
        expectShown(sheet, clip, 0, kDefaultCacheFrames);
        waitUntilCached(sheet, footage.frames);
        std::vector<double> milliseconds;
        for (int request = 0; request < kCachedRequests; ++request) {
            const int frame = static_cast<int>(random() % static_cast<unsigned>(footage.frames));
            const Clock::time_point start = Clock::now();
            expectShown(sheet, clip, frame, kDefaultCacheFrames);
            milliseconds.push_back(secondsSince(start) * 1e3);
        }
        p50.push_back(median(milliseconds));
        p95.push_back(percentile(milliseconds, 0.95));
    }
    std::printf(
        "cached frame, %s: %d requests for random frames of a clip wholly in the window, through "
        "Footage::frameFor (texture update included)\n",
        footage.label, kCachedRequests);
    std::printf("  p50 %.3f ms   p95 %.3f ms (target p95 <= 1 ms)\n", median(p50), median(p95));
}

void measure(int runs) {
    av_log_set_callback(countFfmpegMessage);
    ScratchDir scratch;
    SheetScene scene;
    reportPlayback(scene.node, scratch.path(), runs);
    // Both use the first clip, which a chosen set of rows may leave out.
    if (!std::getenv("CINESHEET_BENCH_ROWS")) {
        reportFarScrub(scene.node, scratch.path(), runs);
        reportCachedRequests(scene.node, scratch.path(), runs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("playback", argc, argv, measure);
}
