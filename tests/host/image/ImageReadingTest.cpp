#include <maya/MImage.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

using testsupport::runCommand;
using testsupport::shellQuote;
using testsupport::TempDir;

constexpr unsigned int kWidth = 64;
constexpr unsigned int kHeight = 48;

// One frame of FFmpeg's test pattern (asymmetric: coloured bars, a moving square, text).
std::string makeImage(const TempDir& dir, const std::string& name, const std::string& options) {
    const std::string path = dir.file(name);
    const auto result =
        runCommand("ffmpeg -v error -y -f lavfi -i testsrc2=size=" + std::to_string(kWidth) + "x" +
                   std::to_string(kHeight) + " -frames:v 1 " + options + " " + shellQuote(path));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return path;
}

// The ffmpeg tool's decode of the file: RGBA, top row first.
std::string referencePixels(const std::string& path) {
    const auto result =
        runCommand("ffmpeg -v error -i " + shellQuote(path) + " -f rawvideo -pix_fmt rgba -");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

// Largest difference of a channel between the image (bottom row first) and the reference.
int largestDifference(const MImage& image, const std::string& reference) {
    const std::size_t rowBytes = kWidth * 4;
    int largest = 0;
    for (unsigned int row = 0; row < kHeight; ++row) {
        const unsigned char* imageRow = image.pixels() + rowBytes * (kHeight - 1 - row);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int expected = static_cast<unsigned char>(reference[rowBytes * row + i]);
            largest = std::max(largest, std::abs(imageRow[i] - expected));
        }
    }
    return largest;
}

void expectReadsLikeFfmpeg(const std::string& path, int tolerance) {
    MImage image;
    ASSERT_EQ(image.readFromFile(path.c_str(), MImage::kByte), MStatus::kSuccess) << path;
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    EXPECT_EQ(image.depth(), 4u);
    EXPECT_EQ(image.pixelType(), MImage::kByte);
    const std::string reference = referencePixels(path);
    ASSERT_EQ(reference.size(), kWidth * kHeight * 4);
    EXPECT_LE(largestDifference(image, reference), tolerance) << path;
}

TEST(ImageReading, PngMatchesFfmpegExactlyBottomRowFirst) {
    TempDir dir;
    expectReadsLikeFfmpeg(makeImage(dir, "rgb.png", ""), 0);
    expectReadsLikeFfmpeg(makeImage(dir, "rgba.png", "-vf format=rgba,geq=r='X*4':a='Y*5'"), 0);
}

TEST(ImageReading, JpegAndExrMatchFfmpeg) {
    TempDir dir;
    expectReadsLikeFfmpeg(makeImage(dir, "picture.jpg", "-q:v 2"), 2);
    expectReadsLikeFfmpeg(makeImage(dir, "picture.exr", "-pix_fmt gbrpf32le"), 2);
}

TEST(ImageReading, OtherStillFormatsRead) {
    TempDir dir;
    for (const char* name : {"picture.tif", "picture.dpx", "picture.tga", "picture.bmp"}) {
        expectReadsLikeFfmpeg(makeImage(dir, name, "-pix_fmt rgb24"), 0);
    }
}

TEST(ImageReading, FormatIsFoundByContentNotExtension) {
    TempDir dir;
    const std::string png = makeImage(dir, "rgb.png", "");
    const std::string renamed = dir.file("really-a-png.jpg");
    ASSERT_EQ(std::rename(png.c_str(), renamed.c_str()), 0);
    expectReadsLikeFfmpeg(renamed, 0);
}

TEST(ImageReading, UnreadableFilesFailAndLeaveTheImageEmpty) {
    TempDir dir;
    const std::string png = makeImage(dir, "good.png", "");
    const std::string bytes = testsupport::readFile(png);
    testsupport::writeFile(dir.file("truncated.png"), bytes.substr(0, bytes.size() / 3));
    testsupport::writeFile(dir.file("empty.png"), "");
    testsupport::writeFile(dir.file("notes.txt"), "not a picture\n");
    testsupport::writeFile(dir.file("garbage.png"), std::string(4096, '\x5a'));
    const auto video = runCommand("ffmpeg -v error -y -f lavfi -i testsrc2=size=64x48 -t 0.2 " +
                                  shellQuote(dir.file("clip.mp4")));
    ASSERT_EQ(video.exitCode, 0) << video.err;

    for (const char* name : {"missing.png", "truncated.png", "empty.png", "notes.txt",
                             "garbage.png", "clip.mp4", ""}) {
        MImage image;
        ASSERT_EQ(image.readFromFile(png.c_str()), MStatus::kSuccess);
        EXPECT_EQ(image.readFromFile(dir.file(name).c_str()), MStatus::kFailure) << name;
        EXPECT_EQ(image.pixels(), nullptr) << name;
        unsigned int width = 1;
        unsigned int height = 1;
        image.getSize(width, height);
        EXPECT_EQ(width * height, 0u) << name;
    }
}

TEST(ImageReading, PercentSignsInPathsAreNotPatterns) {
    TempDir dir;
    const std::string plain = makeImage(dir, "plain.png", "");
    const std::string patterned = dir.file("shot%04d.png");
    testsupport::writeFile(patterned, testsupport::readFile(plain));
    MImage image;
    ASSERT_EQ(image.readFromFile(patterned.c_str()), MStatus::kSuccess);
    EXPECT_EQ(largestDifference(image, referencePixels(plain)), 0);
}

// Only the named file is read, and only when it is a plain file: a playlist dressed as a frame
// must not lead the reader to the files it lists, and no pipe, device or pseudo-file is read.
TEST(ImageReading, ReadsNothingButTheOneRegularFile) {
    TempDir dir;
    const std::string segment = makeImage(dir, "segment.png", "");
    testsupport::writeFile(dir.file("list.0001.png"),
                           "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nsegment.png\n"
                           "#EXT-X-ENDLIST\n");
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, segment.c_str(), IN_OPEN), 0);
    MImage image;
    EXPECT_EQ(image.readFromFile(dir.file("list.0001.png").c_str()), MStatus::kFailure);
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof(events)), 0) << "the listed file was opened";
    close(watch);

    ASSERT_EQ(mkfifo(dir.file("pipe.png").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/proc/self/status", dir.file("status.png").c_str()), 0);
    for (const std::string& path : {dir.file("pipe.png"), dir.file("status.png"),
                                    std::string("/proc/self/mem"), std::string("/dev/zero")}) {
        EXPECT_EQ(image.readFromFile(path.c_str()), MStatus::kFailure) << path;
    }
}

}  // namespace
