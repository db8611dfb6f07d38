// Time-to-first-picture benchmark. On large 1080p files, each a short clip encoded once and
// joined with itself by the concat demuxer without re-encoding (about 1.9 GB each, in a scratch
// folder):
//   - a ProRes 422 HQ QuickTime master, whose index gives the frame order;
//   - an H.264 MP4 at 50 Mbit/s with a keyframe every 24 frames and B-frames, whose index holds
//     decoding times only, so that it is scanned;
//   - the same H.264 in MPEG-TS, which has no index at all;
//   - with a size in GB as second argument, a ProRes master of that size as well;
// it measures, in one run, warm (the file in the page cache) and cold (the file's pages dropped
// with posix_fadvise before each run: dropping every cache of the machine would disturb whatever
// else runs on it), each as the median of several runs and as a ratio against the reference:
//   - the reference: ffprobe showing the first frame (`-read_intervals %+#1`);
//   - opening the file as the cache does (the scan, where there is one, read only until it has
//     settled the first block), then decoding its first picture;
//   - the same with the packets listed by reading the whole file first.
// Usage: bench_first_picture [runs] [GB of the extra master] [only]   (default 3, none; `only`
// measures the extra master alone)

#include "BenchSupport.h"
#include "decode/BlockDecoder.h"
#include "decode/VideoSource.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr double kLargeBytes = 1.9e9;

struct LargeClip {
    const char* name;
    const char* file;
    const char* encoding;  // ffmpeg arguments of the short clip that is joined with itself
    bool indexed;          // whether opening lists its packets from the index
    double bytes = kLargeBytes;
};

constexpr const char* kProRes = "-t 1 -c:v prores_ks -profile:v 3 -pix_fmt yuv422p10le";
// Filler keeps the rate at 50 Mbit/s on a synthetic picture that would need far less.
constexpr const char* kH264 =
    "-t 2 -c:v libx264 -preset veryfast -b:v 50M -minrate 50M -maxrate 50M -bufsize 50M "
    "-x264-params nal-hrd=cbr -g 24 -pix_fmt yuv420p";

const LargeClip kClips[] = {
    {"ProRes 422 HQ MOV", "large.mov", kProRes, true},
    {"H.264 MP4, 50 Mbit/s", "large.mp4", kH264, false},
    {"H.264 MPEG-TS, 50 Mbit/s", "large.ts", kH264, false},
};

std::string makeLargeClip(const fs::path& folder, const LargeClip& large) {
    const std::string clip = (folder / (std::string("clip-") + large.file)).string();
    run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=1920x1080:r=24 " +
        std::string(large.encoding) + " '" + clip + "'");
    const int joins = static_cast<int>(large.bytes / static_cast<double>(fs::file_size(clip))) + 1;
    const std::string list = (folder / "list.txt").string();
    std::ofstream entries(list);
    for (int i = 0; i < joins; ++i) {
        entries << "file '" << clip << "'\n";
    }
    entries.close();
    const std::string joined = (folder / large.file).string();
    run("ffmpeg -nostdin -v error -y -f concat -safe 0 -i '" + list + "' -c copy '" + joined + "'");
    fs::remove(clip);
    return joined;
}

void dropFromPageCache(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0 || posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) {
        throw std::runtime_error("cannot drop " + path + " from the page cache");
    }
    ::close(fd);
}

void readWhole(const std::string& path) {
    run("cat '" + path + "' > /dev/null");
}

double probeFirstFrame(const std::string& path) {
    const Clock::time_point start = Clock::now();
    run("ffprobe -v error -select_streams v:0 -read_intervals %+#1 -show_entries frame=pts "
        "-of csv '" +
        path + "' > /dev/null");
    return secondsSince(start);
}

double openToFirstPicture(const std::string& path, video::VideoSource::Listing listing,
                          bool& fromIndex) {
    const Clock::time_point start = Clock::now();
    video::VideoSource source;
    const bool opened = listing == video::VideoSource::Listing::fullScan
                            ? source.open(path, listing)
                            : source.start(path, listing);
    if (!opened) {
        throw std::runtime_error("cannot open " + path);
    }
    while (source.blockCount() == 0 && !source.listingComplete()) {
        source.scanOn([] { return false; }, 0);
    }
    video::BlockDecoder decoder(source);
    const int pictures = decoder.decodeBlocks(
        0, 0, [](int, int, const video::CachePicture&) {}, {},
        [](int, int slot) { return slot == 0; });
    if (pictures != 1) {
        throw std::runtime_error("no first picture in " + path);
    }
    const double seconds = secondsSince(start);
    fromIndex = source.listedFromIndex();
    return seconds;
}

struct Row {
    const char* name;
    std::function<double()> measure;
};

void measureClip(const fs::path& folder, const LargeClip& clip, int runs) {
    const Clock::time_point making = Clock::now();
    const std::string large = makeLargeClip(folder, clip);
    std::printf("%s: %.2f GB, made in %.0f s\n", clip.name,
                static_cast<double>(fs::file_size(large)) / 1e9, secondsSince(making));
    auto openAs = [&large, &clip](video::VideoSource::Listing listing) {
        bool fromIndex = false;
        const double seconds = openToFirstPicture(large, listing, fromIndex);
        if (fromIndex !=
            (clip.indexed && listing == video::VideoSource::Listing::indexWhereComplete)) {
            throw std::runtime_error("the index was used where it was not expected, or not used");
        }
        return seconds;
    };
    const std::vector<Row> rows{
        {"ffprobe -read_intervals %+#1", [&] { return probeFirstFrame(large); }},
        {clip.indexed ? "open (index), first picture" : "open (scan), first picture",
         [&] { return openAs(video::VideoSource::Listing::indexWhereComplete); }},
        {"open by full scan, first picture",
         [&] { return openAs(video::VideoSource::Listing::fullScan); }},
    };
    for (const bool cold : {false, true}) {
        std::vector<double> medians;
        for (const Row& row : rows) {
            std::vector<double> seconds;
            for (int i = 0; i < runs; ++i) {
                if (cold) {
                    dropFromPageCache(large);
                } else {
                    readWhole(large);
                }
                seconds.push_back(row.measure());
            }
            medians.push_back(median(seconds));
            std::printf("  %s  %-34s %7.3f s  %6.2f x ffprobe\n", cold ? "cold" : "warm", row.name,
                        medians.back(), medians.back() / medians.front());
            std::fflush(stdout);
        }
    }
    fs::remove(large);
}

void measure(int runs, double extraGigabytes, bool extraOnly) {
    ScratchDir scratch;
    if (!extraOnly) {
        for (const LargeClip& clip : kClips) {
            measureClip(scratch.path(), clip, runs);
        }
    }
    if (extraGigabytes > 0.0) {
        measureClip(
            scratch.path(),
            LargeClip{"ProRes 422 HQ MOV, extra", "extra.mov", kProRes, true, extraGigabytes * 1e9},
            runs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const double extraGigabytes = argc > 2 ? std::atof(argv[2]) : 0.0;
    const bool extraOnly = argc > 3 && std::string(argv[3]) == "only";
    return runBenchmark("first_picture", argc, argv, [extraGigabytes, extraOnly](int runs) {
        measure(runs, extraGigabytes, extraOnly);
    });
}
