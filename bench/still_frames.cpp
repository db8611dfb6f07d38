// A still photo on a plane, shown at every frame of a 20-frame playblast: a 4032 × 3024 JPEG, as
// a phone takes it. Side by side in one run:
//   - the reference: the ffmpeg tool decoding the JPEG to RGBA once, on one thread;
//   - frames 1 to 20 with the file unchanged: read once, then shown from memory;
//   - frames 1 to 20 with the file's modification time moved before every frame, so that every
//     frame reads it again, as every frame did before a still was read once;
// each as milliseconds a frame (the upload to the texture included), and the ratio of the two.
// Usage: bench_still_frames [runs]   (default 3)

#include "BenchSupport.h"
#include "decode/FfmpegLog.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using namespace bench;

constexpr int kFrames = 20;

double referenceMilliseconds(const std::string& still) {
    const Clock::time_point start = Clock::now();
    run("ffmpeg -nostdin -v error -threads 1 -i '" + still + "' -pix_fmt rgba -f null -");
    return secondsSince(start) * 1e3;
}

// Milliseconds a frame over frames 1 to kFrames of a new node; with `touch`, the file's
// modification time moves a second before every frame.
double framesMilliseconds(const std::string& still, bool touch) {
    SheetScene scene;
    Sheet sheet(scene.node);
    struct stat status {};
    if (stat(still.c_str(), &status) != 0) {
        throw std::runtime_error("cannot stat " + still);
    }
    timespec times[2] = {status.st_atim, status.st_mtim};
    const Clock::time_point start = Clock::now();
    for (int frame = 1; frame <= kFrames; ++frame) {
        if (touch) {
            ++times[1].tv_sec;
            if (utimensat(AT_FDCWD, still.c_str(), times, 0) != 0) {
                throw std::runtime_error("cannot touch " + still);
            }
        }
        if (!sheet.show(still, frame, 120)) {
            throw std::runtime_error("the still was not shown in time");
        }
    }
    return secondsSince(start) * 1e3 / kFrames;
}

void measure(int runs) {
    std::printf("reference: ffmpeg -threads 1 -i still.jpg -pix_fmt rgba -f null - (wall time)\n");
    std::printf("plug-in: frames 1 to %d of a new node showing the still, one show each\n",
                kFrames);
    // FFmpeg's lines go where the plug-in sends them, not to the terminal.
    video::installFfmpegLog();
    ScratchDir scratch;
    const std::string still = (scratch.path() / "still.jpg").string();
    run("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=4032x3024 -frames:v 1 -q:v 2 '" +
        still + "'");
    referenceMilliseconds(still);  // brings the file into memory
    std::vector<double> reference, once, every;
    for (int i = 0; i < runs; ++i) {
        reference.push_back(referenceMilliseconds(still));
        once.push_back(framesMilliseconds(still, false));
        every.push_back(framesMilliseconds(still, true));
    }
    std::printf("JPEG 4032x3024: reference %.1f ms for one decode\n", median(reference));
    std::printf("  file unchanged        %7.1f ms a frame\n", median(once));
    std::printf("  file changed each time %6.1f ms a frame   (%.1f x unchanged)\n", median(every),
                median(every) / median(once));
}

}  // namespace

int main(int argc, char** argv) {
    return runBenchmark("still_frames", argc, argv, measure);
}
