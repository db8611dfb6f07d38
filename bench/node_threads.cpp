// Threads of the process as nodes are added: N video nodes (N = 1, 30, 100) each showing a frame
// of its own 1080p H.264 clip (ten clips, as a layout scene with many reference planes), counted
// in /proc/self/task once every node has shown its frame, with the time that took.
// Usage: bench_node_threads [runs]   (runs is ignored: one count per node count)

#include "BenchSupport.h"
#include "ProcessThreads.h"
#include "VideoCacheSupport.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace bench;

void showFrame(VideoCache& cache, int frame) {
    CachingJob job;
    if (!cache.addBlockCachingJob(frame, 24, job) ||
        !cache.awaitFrame(
            job, [](const unsigned char*) { return true; },
            Clock::now() + std::chrono::minutes(5))) {
        throw std::runtime_error("frame " + std::to_string(frame) + " was not shown");
    }
}

void measure(int) {
    ScratchDir scratch;
    std::vector<std::string> clips;
    for (int clip = 0; clip < 10; ++clip) {
        clips.push_back((scratch.path() / ("clip" + std::to_string(clip) + ".mp4")).string());
        run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=1920x1080:rate=24 -frames:v 48 "
            "-vf hue=h=" +
            std::to_string(clip * 36) + " -c:v libx264 -g 24 -bf 3 -preset ultrafast '" +
            clips.back() + "'");
    }
    std::printf("threads with N 1080p H.264 video nodes, each showing frame 30 (window 24)\n");
    const int before = threadsOfProcess();
    for (int nodes : {1, 30, 100}) {
        std::vector<std::unique_ptr<VideoCache>> caches;
        const Clock::time_point start = Clock::now();
        for (int node = 0; node < nodes; ++node) {
            caches.push_back(std::make_unique<VideoCache>([] {}));
            if (!openVideo(*caches.back(), clips[static_cast<size_t>(node) % clips.size()])) {
                throw std::runtime_error("a clip did not open");
            }
            showFrame(*caches.back(), 30);
        }
        const double shown = secondsSince(start);
        const int threads = threadsOfProcess();
        const Clock::time_point deleting = Clock::now();
        caches.clear();
        std::printf(
            "  %3d nodes: %4d threads (%d before any node), all shown in %.1f s, deleted in %.2f "
            "s\n",
            nodes, threads, before, shown, secondsSince(deleting));
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("node_threads", argc, argv, measure);
}
