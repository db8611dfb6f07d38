// Image-sequence playback benchmark. On 1920×1080 sequences made with the ffmpeg tool (PNG, EXR
// in half floats, EXR in floats) it measures, in one run:
//   - the reference: the ffmpeg tool decoding the files to RGBA on one thread;
//   - a first pass: every frame in order through the draw override at one viewport refresh each
//     (a node just made, nothing read yet: the worker reads ahead while frames are shown);
//   - a second pass over the same frames, which the cache holds;
//   - for scale, the host's image reader alone reading every file on one thread, which bounds
//     what one reader of the cache can do;
//   - for PNG, jumps between far frames with a window of three frames, so that no frame jumped
//     to is held: the time per jump against one read by the host's reader;
// each as frames per second and as a ratio against the reference, with the second pass over the
// first, and the memory the frames held take after it. EXR sequences are played at cacheDepth
// "8-bit" (8-bit frames, as every sequence was kept before) and "Auto" (half float). Every figure
// is the median of several runs, since the machine may be shared.
// Usage: bench_sequence_playback [runs]   (default 3)

#include "BenchSupport.h"
#include "cache/CacheBudget.h"
#include "draw/CineSheetDrawOverride.h"
#include "node/CineSheet.h"
#include "sequence/SequencePattern.h"

#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MDagModifier.h>
#include <maya/MDrawRegistry.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MImage.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace bench;

struct Footage {
    const char* label;
    const char* name;
    const char* extension;
    const char* encoding;
    int frames;
    bool jumps;
    int cacheDepth;  // the node's cacheDepth: 0 Auto, 1 8-bit
};

// The files of frames 1 to footage.frames; the tool's numbered pattern is returned.
std::string makeSequence(const fs::path& folder, const Footage& footage) {
    const std::string numbered =
        (folder / (std::string(footage.name) + ".%04d." + footage.extension)).string();
    run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=1920x1080:rate=24 -frames:v " +
        std::to_string(footage.frames) + " " + footage.encoding + " -start_number 1 '" + numbered +
        "'");
    return numbered;
}

double referenceFramesPerSecond(const std::string& numbered, int frames) {
    const Clock::time_point start = Clock::now();
    run("ffmpeg -nostdin -v error -threads 1 -start_number 1 -i '" + numbered +
        "' -pix_fmt rgba -f null -");
    return frames / secondsSince(start);
}

double readerFramesPerSecond(const std::string& pattern, int frames) {
    MImage image;
    const Clock::time_point start = Clock::now();
    for (int frame = 1; frame <= frames; ++frame) {
        const MString file(video::SequencePattern(pattern).fileOf(frame).c_str());
        if (!image.readFromFile(file)) {
            throw std::runtime_error(std::string("cannot read ") + file.asChar());
        }
    }
    return frames / secondsSince(start);
}

// A scene with one CineSheet node drawn by the host's viewport.
class DrawnSheetScene {
public:
    DrawnSheetScene() {
        freshSceneWithSheetType();
        if (!MHWRender::MDrawRegistry::registerDrawOverrideCreator(
                CineSheet::drawDbClassification, CineSheet::drawRegistrantId,
                CineSheetDrawOverride::creator)) {
            throw std::runtime_error("cannot register the CineSheet node's drawing");
        }
    }
    ~DrawnSheetScene() {
        host::newScene();
        MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(CineSheet::drawDbClassification,
                                                                CineSheet::drawRegistrantId);
        host::deregisterPluginNodeType(CineSheet::id);
    }
    DrawnSheetScene(const DrawnSheetScene&) = delete;
    DrawnSheetScene& operator=(const DrawnSheetScene&) = delete;

    // A new node, so a new draw override with nothing read yet; the former one is deleted.
    MObject freshNode() {
        if (!node_.isNull()) {
            MDagModifier remover;
            remover.deleteNode(MFnDagNode(node_).parent(0));
            remover.doIt();
            host::refresh();
        }
        MDagModifier modifier;
        const MObject transform = modifier.createNode(CineSheet::className);
        if (!modifier.doIt()) {
            throw std::runtime_error("cannot create a CineSheet node");
        }
        node_ = MFnDagNode(transform).child(0);
        return node_;
    }

private:
    MObject node_;
};

// Shows frames 1 to `frames` in order, one refresh each, as a playing viewport does.
double playFramesPerSecond(const MObject& node, int frames) {
    MPlug time = MFnDependencyNode(node).findPlug("frame", true);
    const Clock::time_point start = Clock::now();
    for (int frame = 1; frame <= frames; ++frame) {
        time.setMTime(MTime(frame, MTime::uiUnit()));
        if (!host::refresh()) {
            throw std::runtime_error("a refresh failed");
        }
    }
    return frames / secondsSince(start);
}

// Jumps between frames far apart, none of them held, with the readers busy reading around the
// frame before; milliseconds per jump.
double farJumpMilliseconds(const MObject& node, int frames) {
    MFnDependencyNode(node).findPlug("cacheFrames", true).setInt(3);
    MPlug time = MFnDependencyNode(node).findPlug("frame", true);
    constexpr int kJumps = 12;
    const Clock::time_point start = Clock::now();
    for (int jump = 0; jump < kJumps; ++jump) {
        time.setMTime(MTime(1 + (jump * 19) % frames, MTime::uiUnit()));
        if (!host::refresh()) {
            throw std::runtime_error("a refresh failed");
        }
    }
    return secondsSince(start) * 1e3 / kJumps;
}

void report(DrawnSheetScene& scene, const fs::path& folder, const Footage& footage, int runs) {
    const std::string numbered = makeSequence(folder, footage);
    std::string pattern = numbered;
    pattern.replace(pattern.find("%04d"), 4, "####");
    referenceFramesPerSecond(numbered, footage.frames);  // brings the files into memory
    std::vector<double> reference, first, second, reader, jump, held;
    for (int i = 0; i < runs; ++i) {
        reference.push_back(referenceFramesPerSecond(numbered, footage.frames));
        reader.push_back(readerFramesPerSecond(pattern, footage.frames));
        const MObject node = scene.freshNode();
        MFnDependencyNode(node)
            .findPlug("cacheDepth", true)
            .setShort(static_cast<short>(footage.cacheDepth));
        MFnDependencyNode(node).findPlug("file", true).setString(pattern.c_str());
        first.push_back(playFramesPerSecond(node, footage.frames));
        second.push_back(playFramesPerSecond(node, footage.frames));
        held.push_back(static_cast<double>(video::CacheBudget::instance().used()));
        if (footage.jumps) {
            const MObject jumping = scene.freshNode();
            MFnDependencyNode(jumping).findPlug("file", true).setString(pattern.c_str());
            jump.push_back(farJumpMilliseconds(jumping, footage.frames));
        }
    }
    const double tool = median(reference);
    std::printf("%s, %d frames: reference %.1f frames/s\n", footage.label, footage.frames, tool);
    std::printf("  first pass  %7.1f frames/s  ratio %.3f\n", median(first), median(first) / tool);
    std::printf("  second pass %7.1f frames/s  ratio %.3f   (%.1f x the first pass)\n",
                median(second), median(second) / tool, median(second) / median(first));
    std::printf("  frames held after it: %.0f MB (%.1f MB a frame)\n", median(held) / 1e6,
                median(held) / 1e6 / footage.frames);
    std::printf("  (host image reader alone, one thread: %.1f frames/s, ratio %.3f)\n",
                median(reader), median(reader) / tool);
    if (footage.jumps) {
        std::printf("  far jumps   %7.1f ms per frame   (%.2f x one read by the host's reader)\n",
                    median(jump), median(jump) * median(reader) / 1e3);
    }
}

void measure(int runs) {
    std::printf(
        "reference: ffmpeg -threads 1 -start_number 1 -i name.%%04d.ext -pix_fmt rgba -f null - "
        "(wall time of the whole command)\n");
    std::printf(
        "plug-in: frames 1 to N in order, one viewport refresh each (cacheFrames 120), on a new "
        "node; then again\n");
    ScratchDir scratch;
    DrawnSheetScene scene;
    const Footage footages[] = {
        {"PNG 1920x1080 RGB", "png", "png", "-pix_fmt rgb24", 48, true, 0},
        {"EXR 1920x1080 half, cacheDepth 8-bit", "half", "exr",
         "-pix_fmt gbrpf32le -c:v exr -format half", 16, false, 1},
        {"EXR 1920x1080 half, cacheDepth Auto", "half", "exr",
         "-pix_fmt gbrpf32le -c:v exr -format half", 16, false, 0},
        {"EXR 1920x1080 float, cacheDepth 8-bit", "float", "exr",
         "-pix_fmt gbrpf32le -c:v exr -format float", 16, false, 1},
        {"EXR 1920x1080 float, cacheDepth Auto", "float", "exr",
         "-pix_fmt gbrpf32le -c:v exr -format float", 16, false, 0},
    };
    for (const Footage& footage : footages) {
        report(scene, scratch.path(), footage, runs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("sequence_playback", argc, argv, measure);
}
