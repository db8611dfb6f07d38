// Frame memory benchmark: what a cached frame's memory costs to make ready and write, per frame,
// at 1080p and UHD, for each way of laying it out (huge pages asked for or not: where the system
// gives them only when asked, not asking is small pages) and of making it ready
// (populated in one call or faulted in as it is written):
//   - fresh: a window's worth of buffers allocated and each written once, as a cache's first
//     pass does;
//   - returned: the same again right after the first ones were freed, the memory the system
//     just took back;
//   - rewritten: the same buffers written again, as a buffer kept and reused is.
// Each figure is the median of several runs; the policies take turns within each run, so that
// no policy always comes first. The load average is printed before and after.
// Usage: bench_frame_memory [runs]   (default 5)

#include "BenchSupport.h"
#include "picture/FrameMemory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace bench;

struct Size {
    const char* label;
    size_t bytes;
    int frames;  // about 800 MB each
};

struct Policy {
    const char* label;
    video::FrameMemoryPolicy memory;
};

struct Figures {
    std::vector<double> fresh;
    std::vector<double> returned;
    std::vector<double> rewritten;
};

using Buffer = std::unique_ptr<unsigned char, decltype(&std::free)>;

// Milliseconds per frame to allocate `frames` buffers and write each once.
double allocateAndWrite(std::vector<Buffer>& buffers, size_t bytes, int frames,
                        const video::FrameMemoryPolicy& policy) {
    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        buffers.emplace_back(video::allocateFrameBuffer(bytes, policy), &std::free);
        if (!buffers.back()) {
            throw std::runtime_error("no memory");
        }
        std::memset(buffers.back().get(), frame, bytes);
    }
    return secondsSince(start) * 1e3 / frames;
}

void measure(const Size& size, const Policy& policy, Figures& figures) {
    std::vector<Buffer> buffers;
    figures.fresh.push_back(allocateAndWrite(buffers, size.bytes, size.frames, policy.memory));
    const Clock::time_point start = Clock::now();
    for (Buffer& buffer : buffers) {
        std::memset(buffer.get(), 0x5A, size.bytes);
    }
    figures.rewritten.push_back(secondsSince(start) * 1e3 / size.frames);
    buffers.clear();
    figures.returned.push_back(allocateAndWrite(buffers, size.bytes, size.frames, policy.memory));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("frame memory: load average %s\n", loadAverage().c_str());
    const Size sizes[] = {{"1920x1080 RGBA", size_t{1920} * 1080 * 4, 96},
                          {"3840x2160 RGBA", size_t{3840} * 2160 * 4, 24}};
    const Policy policies[] = {{"huge pages asked, populated", {true, true}},
                               {"huge pages asked, faulted in", {true, false}},
                               {"not asked, populated", {false, true}},
                               {"not asked, faulted in", {false, false}}};
    constexpr size_t kPolicies = sizeof policies / sizeof policies[0];
    std::printf("frame memory: ms a frame, median of %d runs (fresh / returned / rewritten)\n",
                runs);
    for (const Size& size : sizes) {
        Figures figures[kPolicies];
        for (int run = 0; run < runs; ++run) {
            for (size_t turn = 0; turn < kPolicies; ++turn) {
                const size_t chosen = (turn + static_cast<size_t>(run)) % kPolicies;
                measure(size, policies[chosen], figures[chosen]);
            }
        }
        for (size_t chosen = 0; chosen < kPolicies; ++chosen) {
            std::printf("  %-15s %-28s %7.2f / %7.2f / %7.2f\n", size.label, policies[chosen].label,
                        median(figures[chosen].fresh), median(figures[chosen].returned),
                        median(figures[chosen].rewritten));
        }
    }
    std::printf("load average at the end: %s\n", loadAverage().c_str());
    return 0;
}
