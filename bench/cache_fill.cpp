// Cache-fill benchmark. On a 10-second 1920×1080 H.264 clip made with the ffmpeg tool it
// measures, in one run:
//   - the reference: the ffmpeg tool decoding the clip to RGB24 on one thread;
//   - frames stored per second into the frame cache by a draw override's caching worker at Full,
//     Half and Quarter, as ratios against the reference;
//   - the cost of a request for a frame already in the cache, next to a bare copy of one frame;
//   - where the worker's time goes per frame (decode, RGB24 conversion, cache image), and whether
//     converting straight to RGBA with the scaler gives the same bytes, at what cost;
//   - a Full fill into memory touched before (a child process whose malloc keeps freed frames),
//     which separates the first-touch cost of fresh cache memory from the worker's own work.
// Every figure is the median of several runs, since the machine may be shared. Playback as a
// viewport plays is bench_playback's.
// Usage: bench_cache_fill [runs]   (default 3)
//        bench_cache_fill --refill RUNS CLIP REFERENCE_FPS   (the child run it starts itself)

#include "BenchSupport.h"
#include "StoredFrames.h"
#include "decode/BlockDecoder.h"
#include "decode/PacketRangeDecoder.h"
#include "decode/VideoSource.h"
#include "picture/CacheImage.h"
#include "picture/RgbConverter.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace bench;

constexpr int kRequests = 500;
constexpr int kReferenceRuns = 5;
// A fill that takes longer than this has stalled.
constexpr std::chrono::seconds kFillLimit(300);

// ---------------------------------------------------------------------------------------------
// The reference: the ffmpeg tool on one thread.

struct ToolTiming {
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;
};

// `limit` adds output options, such as a frame count.
ToolTiming timeReference(const std::string& clip, const std::string& limit = "") {
    const std::string command = "ffmpeg -nostdin -v error -threads 1 -i '" + clip + "' " + limit +
                                " -pix_fmt rgb24 -sws_flags bilinear -f null -";
    const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    const Clock::time_point start = Clock::now();
    run(command);
    return {secondsSince(start), cpuSeconds(RUSAGE_CHILDREN) - cpuBefore};
}

bool anyBlockStarted(Footage& sheet) {
    return !sheet.video().store().read(
        [](const FrameStore::Contents& store) { return store.blocks.empty(); });
}

struct FillTiming {
    double openSeconds = 0.0;    // open, keyframe scan and texture creation
    double pickupSeconds = 0.0;  // from the request until the worker starts its first block
    double fillSeconds = 0.0;    // first block started until the last frame is stored
    double cpuShare = 0.0;       // process CPU time over fillSeconds (1.0: one core busy)
    int frames = 0;
};

// Opens the clip through the footage (frame −1 opens without requesting anything), then asks
// for frame 0 with a window covering the whole clip and waits until every frame is stored.
// The sheet is left filled for the request measurements.
FillTiming fillWholeClip(Sheet& sheet, const std::string& clip, int divisor) {
    Footage& draw = *sheet.footage;
    sheet.setDivisor(divisor);
    FillTiming timing;

    Clock::time_point start = Clock::now();
    sheet.show(clip, -1, 0);
    // The file opens on the worker: the open ends once its blocks are listed.
    if (!draw.video().awaitListing(Clock::now() + kFillLimit)) {
        throw std::runtime_error("the clip did not open");
    }
    timing.openSeconds = secondsSince(start);

    const std::vector<int> starts = draw.video().blockStarts();
    const int blockCount = static_cast<int>(starts.size()) - 1;
    timing.frames = starts[static_cast<unsigned>(blockCount)] - starts[0];
    CachingJob job;
    const Clock::time_point requested = Clock::now();
    if (!draw.video().addBlockCachingJob(starts[0], timing.frames, job)) {
        throw std::runtime_error("the clip has no block");
    }
    const Clock::time_point deadline = requested + kFillLimit;
    while (!anyBlockStarted(draw)) {
        if (Clock::now() > deadline) {
            throw std::runtime_error("the worker did not start on the request");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    start = Clock::now();
    timing.pickupSeconds = std::chrono::duration<double>(start - requested).count();
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    while (storedFrames(draw) < static_cast<std::size_t>(timing.frames)) {
        if (Clock::now() > deadline) {
            throw std::runtime_error("the worker did not store every frame of the clip");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    timing.fillSeconds = secondsSince(start);
    timing.cpuShare = (cpuSeconds(RUSAGE_SELF) - cpuBefore) / timing.fillSeconds;
    return timing;
}

struct RequestCosts {
    std::vector<double> frameForMs;    // standing block, frame resident
    std::vector<double> awaitFrameMs;  // resident frames all over the clip
    std::vector<double> uploadMs;      // the texture update alone
    std::vector<double> memcpyMs;      // a bare copy of one cached frame
};

RequestCosts measureRequests(Sheet& sheet, const std::string& clip) {
    Footage& draw = *sheet.footage;
    CineSheetData* data = sheet.data.get();
    const std::vector<int> starts = draw.video().blockStarts();
    const int blockCount = static_cast<int>(starts.size()) - 1;
    const int standingLength = starts[1] - starts[0];
    RequestCosts costs;

    // The worker's standing window is the one of the fill's request (the whole clip, around
    // block 0): requests inside block 0 queue nothing and find their frame at the first look.
    const int wholeClip = starts[static_cast<unsigned>(blockCount)] - starts[0];
    for (int i = 0; i < kRequests; ++i) {
        const Clock::time_point start = Clock::now();
        sheet.show(clip, starts[0] + i % standingLength, wholeClip);
        costs.frameForMs.push_back(secondsSince(start) * 1e3);
    }
    for (int i = 0; i < kRequests; ++i) {
        CachingJob job;
        job.block = i % blockCount;
        job.frameInBlock = (i / blockCount) % (starts[job.block + 1] - starts[job.block]);
        job.frame = starts[job.block] + job.frameInBlock;
        const Clock::time_point start = Clock::now();
        if (!draw.video().awaitFrame(
                job, [&](const unsigned char* pixels) { return data->texture().upload(pixels); },
                Clock::now() + std::chrono::minutes(1))) {
            throw std::runtime_error("a resident frame was not found");
        }
        costs.awaitFrameMs.push_back(secondsSince(start) * 1e3);
    }

    const size_t frameBytes = video::cacheImageBytes(
        draw.video().frameWidth(), draw.video().frameHeight(), draw.video().resolutionDivisor());
    std::vector<unsigned char> target(frameBytes);
    draw.video().store().read([&](const FrameStore::Contents& store) {
        std::vector<video::FrameRef> frames;
        for (const auto& block : store.blocks) {
            frames.insert(frames.end(), block.second.begin(), block.second.end());
        }
        for (int i = 0; i < kRequests; ++i) {
            const unsigned char* pixels = frames[static_cast<size_t>(i) % frames.size()]->pixels();
            Clock::time_point start = Clock::now();
            data->texture().upload(pixels);
            costs.uploadMs.push_back(secondsSince(start) * 1e3);
            start = Clock::now();
            std::memcpy(target.data(), pixels, frameBytes);
            costs.memcpyMs.push_back(secondsSince(start) * 1e3);
        }
    });
    return costs;
}

// ---------------------------------------------------------------------------------------------
// Where the time goes: the worker's steps timed one by one on the same decoding core.

struct StageTiming {
    // Per frame, in milliseconds.
    double decodeMs = 0.0;            // demuxing and decoding, one seek per block
    double rgbMs = 0.0;               // conversion to RGB24 at full size
    double cacheImageFreshMs = 0.0;   // RGBA cache image in fresh memory, kept as the cache does
    double cacheImageReusedMs = 0.0;  // the same in memory freed by the previous frame
    double rgbaDirectMs = 0.0;        // prototype: straight to RGBA, reused memory
    double rgbaViaFrameMs = 0.0;      // prototype: to an RGBA frame, rows copied, reused memory
    int directMismatches = 0;         // frames whose straight RGBA differs from the cache image
    int viaFrameMismatches = 0;
    int frames = 0;
};

// What the ffmpeg tool's scale filter picks for a frame's declared colour space (the same rule
// the plug-in's RGB24 converter follows).
const int* coefficientsFor(AVColorSpace colorspace) {
    int space = colorspace;
    if (space < 1 || space > 10 || space == 8) {
        space = AVCOL_SPC_BT470BG;
    }
    return sws_getCoefficients(space);
}

// The prototype: the scaler converts the decoded frame to RGBA itself, which drops the RGB24
// picture and the byte loop of the cache image. Directly into the packed cache image, or through
// an RGBA frame laid out as the ffmpeg tool's filter frames are, then copied row by row.
class RgbaConverter {
public:
    RgbaConverter(int width, int height)
        : width_(width), height_(height), padded_(av_frame_alloc()) {
        padded_->format = AV_PIX_FMT_RGBA;
        padded_->width = width;
        padded_->height = height;
        if (av_frame_get_buffer(padded_.get(), 0) < 0) {
            throw std::runtime_error("cannot allocate an RGBA frame");
        }
    }

    void convertDirect(const AVFrame& frame, unsigned char* target) {
        scale(frame, target, width_ * 4);
    }

    void convertViaFrame(const AVFrame& frame, unsigned char* target) {
        scale(frame, padded_->data[0], padded_->linesize[0]);
        const size_t rowBytes = static_cast<size_t>(width_) * 4;
        for (int y = 0; y < height_; ++y) {
            std::memcpy(target + rowBytes * static_cast<size_t>(y),
                        padded_->data[0] + static_cast<ptrdiff_t>(y) * padded_->linesize[0],
                        rowBytes);
        }
    }

private:
    void scale(const AVFrame& frame, uint8_t* target, int linesize) {
        if (!scaler_) {
            scaler_.reset(sws_getContext(frame.width, frame.height,
                                         static_cast<AVPixelFormat>(frame.format), width_, height_,
                                         AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr));
            int* inverse = nullptr;
            int* table = nullptr;
            int sourceFull = 0, destinationFull = 0, brightness = 0, contrast = 0, saturation = 0;
            sws_getColorspaceDetails(scaler_.get(), &inverse, &sourceFull, &table, &destinationFull,
                                     &brightness, &contrast, &saturation);
            const int* coefficients = coefficientsFor(frame.colorspace);
            if (frame.color_range != AVCOL_RANGE_UNSPECIFIED) {
                sourceFull = frame.color_range == AVCOL_RANGE_JPEG;
            }
            sws_setColorspaceDetails(scaler_.get(), coefficients, sourceFull, coefficients,
                                     destinationFull, brightness, contrast, saturation);
        }
        uint8_t* planes[4] = {target, nullptr, nullptr, nullptr};
        int linesizes[4] = {linesize, 0, 0, 0};
        sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, planes, linesizes);
    }

    int width_;
    int height_;
    video::ScalerPtr scaler_;
    video::FramePtr padded_;
};

using FrameVisitor = std::function<void(const AVFrame& frame)>;

// A Full cache image of the picture in a buffer of its own, as the store made one before it
// converted straight into its buffers; the caller frees it.
unsigned char* fullCacheImage(const video::RgbPicture& picture) {
    auto* image = static_cast<unsigned char*>(
        std::malloc(video::cacheImageBytes(picture.width, picture.height, 1)));
    if (image) {
        video::fillCacheImage(picture, 1, image);
    }
    return image;
}

// Decodes the clip block by block as the block decoder does: one seek per block, pictures
// placed by the frame number the decoder carries, each frame of the block visited once.
// Returns the wall time of the whole walk.
double walkBlocks(const video::VideoSource& source, const FrameVisitor& visit) {
    const Clock::time_point start = Clock::now();
    const std::vector<int>& frameOfPacket = source.order().ofPacket;
    auto stampOf = [&frameOfPacket](int index) -> int64_t {
        return frameOfPacket[index] >= 0 ? frameOfPacket[index] : AV_NOPTS_VALUE;
    };
    for (int block = 0; block < source.blockCount(); ++block) {
        const int first = source.blockStarts()[block];
        const int count = source.blockStarts()[block + 1] - first;
        std::vector<bool> seen(static_cast<size_t>(count), false);
        int visited = 0;
        auto onFrame = [&](const AVFrame& frame) {
            const int64_t slot = frame.pts == AV_NOPTS_VALUE ? -1 : frame.pts - first;
            if (slot >= 0 && slot < count && !seen[static_cast<size_t>(slot)]) {
                seen[static_cast<size_t>(slot)] = true;
                ++visited;
                visit(frame);
            }
            return visited < count;
        };
        const video::BlockPlan& plan = source.plan(block);
        video::decodePacketRange(source.input(), source.decoder(), source.streamIndex(),
                                 source.packets(), {plan.anchor, plan.lastPacket}, stampOf,
                                 onFrame);
    }
    return secondsSince(start);
}

void freeAll(std::vector<unsigned char*>& images) {
    for (unsigned char* image : images) {
        std::free(image);
    }
    images.clear();
}

StageTiming timeStages(const std::string& clip) {
    video::VideoSource source;
    if (!source.open(clip)) {
        throw std::runtime_error("cannot open the clip");
    }
    const int width = source.width();
    const int height = source.height();
    const size_t bytes = video::cacheImageBytes(width, height, 1);
    StageTiming timing;
    video::RgbConverter rgb(width, height);
    auto toRgb = [&rgb](const AVFrame& frame, double& seconds) {
        const Clock::time_point start = Clock::now();
        video::RgbPicture picture;
        rgb.convert(frame, picture);
        seconds += secondsSince(start);
        return picture;
    };

    const double decodeSeconds = walkBlocks(source, [&timing](const AVFrame&) { ++timing.frames; });

    // The cache's own way: every image kept, so each one lands in memory never touched before.
    std::vector<unsigned char*> images;
    double rgbSeconds = 0.0;
    double freshSeconds = 0.0;
    walkBlocks(source, [&](const AVFrame& frame) {
        const video::RgbPicture picture = toRgb(frame, rgbSeconds);
        const Clock::time_point start = Clock::now();
        images.push_back(fullCacheImage(picture));
        freshSeconds += secondsSince(start);
    });
    freeAll(images);

    // The same steps in memory already touched, with the prototype next to them (compared byte
    // for byte, untimed).
    double unusedSeconds = 0.0;
    double reusedSeconds = 0.0;
    double directSeconds = 0.0;
    double viaFrameSeconds = 0.0;
    RgbaConverter rgba(width, height);
    std::vector<unsigned char> straight(bytes, 0);
    auto timeAndCompare = [&](const std::function<void()>& convert, double& seconds,
                              const unsigned char* expected, int& mismatches) {
        const Clock::time_point start = Clock::now();
        convert();
        seconds += secondsSince(start);
        if (!expected || std::memcmp(expected, straight.data(), bytes) != 0) {
            ++mismatches;
        }
    };
    walkBlocks(source, [&](const AVFrame& frame) {
        const video::RgbPicture picture = toRgb(frame, unusedSeconds);
        const Clock::time_point start = Clock::now();
        unsigned char* image = fullCacheImage(picture);
        reusedSeconds += secondsSince(start);
        timeAndCompare([&] { rgba.convertDirect(frame, straight.data()); }, directSeconds, image,
                       timing.directMismatches);
        timeAndCompare([&] { rgba.convertViaFrame(frame, straight.data()); }, viaFrameSeconds,
                       image, timing.viaFrameMismatches);
        std::free(image);
    });

    const double perFrame = 1e3 / std::max(timing.frames, 1);
    timing.decodeMs = decodeSeconds * perFrame;
    timing.rgbMs = rgbSeconds * perFrame;
    timing.cacheImageFreshMs = freshSeconds * perFrame;
    timing.cacheImageReusedMs = reusedSeconds * perFrame;
    timing.rgbaDirectMs = directSeconds * perFrame;
    timing.rgbaViaFrameMs = viaFrameSeconds * perFrame;
    return timing;
}

double mibPerSecond(size_t bytes, double milliseconds) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0) / (milliseconds * 1e-3);
}

void printRequestLine(const char* label, const std::vector<double>& milliseconds) {
    std::printf("  %-44s median %7.3f ms   p95 %7.3f ms\n", label, median(milliseconds),
                percentile(milliseconds, 0.95));
}

const char* resolutionName(int divisor) {
    return divisor == 1 ? "Full" : divisor == 2 ? "Half" : "Quarter";
}

// Fills the whole clip `runs` times at one resolution and prints the medians. With `costs`,
// the requests are measured on the last filled sheet.
double reportFill(const char* label, const MObject& node, const std::string& clip, int divisor,
                  int runs, double reference, RequestCosts* costs = nullptr) {
    std::vector<double> fps, open, pickup, cpu;
    for (int i = 0; i < runs; ++i) {
        Sheet sheet(node);
        const FillTiming fill = fillWholeClip(sheet, clip, divisor);
        fps.push_back(fill.frames / fill.fillSeconds);
        open.push_back(fill.openSeconds * 1e3);
        pickup.push_back(fill.pickupSeconds * 1e3);
        cpu.push_back(fill.cpuShare);
        if (costs && i == runs - 1) {
            *costs = measureRequests(sheet, clip);
        }
    }
    std::printf(
        "  %-8s %7.1f frames/s  ratio %.3f   (open+scan %.0f ms, worker pickup %.0f ms, "
        "CPU/wall %.2f)\n",
        label, median(fps), median(fps) / reference, median(open), median(pickup), median(cpu));
    return median(fps);
}

void reportStages(const std::string& clip, int runs, double reference) {
    std::vector<StageTiming> stages;
    for (int i = 0; i < runs; ++i) {
        stages.push_back(timeStages(clip));
    }
    auto stageMedian = [&stages](double StageTiming::*field) {
        std::vector<double> values;
        for (const StageTiming& stage : stages) {
            values.push_back(stage.*field);
        }
        return median(values);
    };
    const double decode = stageMedian(&StageTiming::decodeMs);
    const double rgb = stageMedian(&StageTiming::rgbMs);
    const double fresh = stageMedian(&StageTiming::cacheImageFreshMs);
    const double reused = stageMedian(&StageTiming::cacheImageReusedMs);
    const double direct = stageMedian(&StageTiming::rgbaDirectMs);
    const double viaFrame = stageMedian(&StageTiming::rgbaViaFrameMs);
    const StageTiming& last = stages.back();
    std::printf(
        "per frame at Full on the worker's decoding core, ms (reference tool %.2f all in):\n",
        1e3 / reference);
    std::printf(
        "  decode %.2f   RGB24 conversion %.2f   cache image %.2f in fresh memory, %.2f "
        "in reused memory\n",
        decode, rgb, fresh, reused);
    std::printf(
        "  prototype, scaler straight to RGBA in reused memory (replaces conversion + "
        "cache image):\n");
    std::printf(
        "    into the packed image %.2f (%d of %d frames differ); through an RGBA frame "
        "and row copy %.2f (%d differ)\n",
        direct, last.directMismatches, last.frames, viaFrame, last.viaFrameMismatches);
    std::printf(
        "  projected Full ratio on one core: %.3f through RGB24 into fresh memory, %.3f in reused "
        "memory, %.3f in reused "
        "memory with RGBA through a frame\n",
        1e3 / (decode + rgb + fresh) / reference, 1e3 / (decode + rgb + reused) / reference,
        1e3 / (decode + viaFrame) / reference);
}

// The child's part: one fill to touch the memory, then the measured ones.
int refill(int runs, const std::string& clip, double reference) {
    SheetScene scene;
    {
        Sheet warmUp(scene.node);
        fillWholeClip(warmUp, clip, 1);
    }
    reportFill("Full", scene.node, clip, 1, runs, reference);
    return 0;
}

int benchmark(int runs) {
    std::printf("cache_fill: %d run(s) per measurement, load average %s\n", runs,
                loadAverage().c_str());
    ScratchDir scratch;
    const std::string clip = (scratch.path() / "clip.mp4").string();
    run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=1920x1080:rate=24:duration=10 "
        "-c:v libx264 -g 24 -bf 3 -preset fast -pix_fmt yuv420p '" +
        clip + "'");

    SheetScene scene;
    int frames = 0;
    {
        Sheet probe(scene.node);
        frames = fillWholeClip(probe, clip, 4).frames;  // also brings the file into memory
    }
    std::vector<double> referenceFps;
    std::vector<double> referenceCpuShare;
    std::vector<double> firstFrameSeconds;
    for (int i = 0; i < std::max(runs, kReferenceRuns); ++i) {
        const ToolTiming tool = timeReference(clip);
        referenceFps.push_back(frames / tool.wallSeconds);
        referenceCpuShare.push_back(tool.cpuSeconds / tool.wallSeconds);
        firstFrameSeconds.push_back(timeReference(clip, "-frames:v 1").wallSeconds);
    }
    const double reference = median(referenceFps);
    const double steadyFps = (frames - 1) / (frames / reference - median(firstFrameSeconds));
    std::printf("clip: 1920x1080 H.264 (libx264 -g 24 -bf 3 -preset fast), %d frames\n", frames);
    std::printf(
        "reference: ffmpeg -threads 1 -i clip -pix_fmt rgb24 -sws_flags bilinear -f null -\n");
    std::printf("  %7.1f frames/s (median of %zu, wall time of the whole command; CPU/wall %.2f)\n",
                reference, referenceFps.size(), median(referenceCpuShare));
    std::printf("  (for information: start-up to first frame %.0f ms; %.1f frames/s after it)\n",
                median(firstFrameSeconds) * 1e3, steadyFps);

    std::printf("cache fill through the caching worker (decode + store only):\n");
    RequestCosts costs;
    for (int divisor : {1, 2, 4}) {
        reportFill(resolutionName(divisor), scene.node, clip, divisor, runs, reference,
                   divisor == 1 ? &costs : nullptr);
    }

    const size_t frameBytes = video::cacheImageBytes(1920, 1080, 1);
    std::printf("request for a resident frame at Full (%d requests, gamma 1):\n", kRequests);
    printRequestLine("Footage::frameFor, standing block", costs.frameForMs);
    printRequestLine("awaitFrame, frames all over the clip", costs.awaitFrameMs);
    printRequestLine("texture update alone", costs.uploadMs);
    printRequestLine("bare memcpy of one frame (8294400 bytes)", costs.memcpyMs);
    std::printf("  (memcpy %.0f MiB/s)\n", mibPerSecond(frameBytes, median(costs.memcpyMs)));

    reportStages(clip, runs, reference);

    // In a child process whose allocator keeps freed memory in one heap, so that a fill after a
    // first one stores into memory touched before: what recycling frame buffers would give.
    std::printf("cache fill at Full, second fill in a process whose malloc keeps freed frames:\n");
    std::fflush(stdout);
    run("GLIBC_TUNABLES=glibc.malloc.arena_max=1:glibc.malloc.mmap_threshold=33554432:"
        "glibc.malloc.trim_threshold=4294967295 '" +
        fs::read_symlink("/proc/self/exe").string() + "' --refill " + std::to_string(runs) + " '" +
        clip + "' " + std::to_string(reference));
    std::printf("load average at the end: %s\n", loadAverage().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 5 && std::string(argv[1]) == "--refill") {
            return refill(std::max(1, std::atoi(argv[2])), argv[3], std::atof(argv[4]));
        }
        return benchmark(argc > 1 ? std::max(1, std::atoi(argv[1])) : 3);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cache_fill: %s\n", error.what());
        return 1;
    }
}
