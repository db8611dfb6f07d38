#include "cache/HostImageReader.h"
#include "sequence/SequenceImage.h"

#include <gtest/gtest.h>

#include "Media.h"
#include "TestSupport.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct StillFormat {
    const char* extension;
    const char* encoding;
};

// A picture with every channel varying, alpha included where the format keeps it.
constexpr const char* kNoise =
    "-f lavfi -i color=black:s=38x24 -frames:v 1 -vf \"format=rgba,geq=r='mod(7*X+3*Y,256)':"
    "g='mod(5*Y+X*X,256)':b='mod(X*Y+11,256)':a='mod(4*X+9*Y,256)'\" ";

std::vector<unsigned char> toolRgba(const std::string& file, const testsupport::TempDir& folder) {
    const std::string raw = folder.file("tool.rgba");
    testsupport::makeMedia("-i " + testsupport::shellQuote(file) + " -f rawvideo -pix_fmt rgba",
                           raw);
    return testsupport::readBytes(raw);
}

// Each format the readers meet in footage, in 8 and more bits, with and without alpha: at
// "8-bit" the readers' decode is the ffmpeg tool's, byte for byte, without the host's image
// reader; at "Auto" too, but for the float image, which is kept as half float.
TEST(StillImageReading, EveryFormatIsTheToolsDecode) {
    const StillFormat formats[] = {
        {"png", "-pix_fmt rgba"},
        {"png", "-pix_fmt rgb48be"},
        {"jpg", "-pix_fmt yuvj420p -q:v 3"},
        {"tif", "-pix_fmt rgb48le -compression_algo lzw"},
        {"dpx", "-pix_fmt gbrp10le"},
        {"tga", "-pix_fmt bgra"},
        {"bmp", "-pix_fmt bgr24"},
        {"sgi", "-pix_fmt rgba"},
        {"exr", "-pix_fmt gbrapf32le -c:v exr -format float -compression 3"},
    };
    testsupport::TempDir folder;
    int made = 0;
    for (const StillFormat& format : formats) {
        const std::string file =
            folder.file("still" + std::to_string(++made) + "." + format.extension);
        testsupport::makeMedia(std::string(kNoise) + format.encoding, file);
        decode::RgbaImage image;
        ASSERT_TRUE(video::readImage(file, decode::CacheDepth::kEightBit, image))
            << format.extension << " " << format.encoding;
        EXPECT_EQ(image.width, 38);
        EXPECT_EQ(image.height, 24);
        EXPECT_EQ(image.format, decode::TexelFormat::kRgba8);
        EXPECT_TRUE(image.pixels == toolRgba(file, folder))
            << format.extension << " " << format.encoding;
        decode::RgbaImage automatic;
        ASSERT_TRUE(video::readImage(file, decode::CacheDepth::kAuto, automatic));
        const bool floatImage = std::string(format.extension) == "exr";
        EXPECT_EQ(automatic.format,
                  floatImage ? decode::TexelFormat::kRgbaHalf : decode::TexelFormat::kRgba8);
        EXPECT_EQ(automatic.pixels == image.pixels, !floatImage) << format.extension;
    }
}

TEST(StillImageReading, WhatIsNoStillImageIsRefused) {
    testsupport::TempDir folder;
    const std::string text = folder.file("notes.png");
    testsupport::writeFile(text, "not a picture\n");
    const std::string video = folder.file("clip.png");
    testsupport::makeMedia("-f lavfi -i testsrc2=s=32x24:r=24 -frames:v 3 -c:v mpeg4 -f avi",
                           video);
    const std::string percent = folder.file("frame%d.png");
    testsupport::makeMedia(std::string(kNoise) + "-pix_fmt rgba -update 1", percent);
    testsupport::makeMedia(std::string(kNoise) + "-pix_fmt rgba -update 1",
                           folder.file("frame1.png"));
    decode::RgbaImage image;
    EXPECT_FALSE(video::readImage(text, decode::CacheDepth::kAuto, image));
    EXPECT_FALSE(video::readImage(video, decode::CacheDepth::kAuto, image));
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_FALSE(video::readImage(folder.path(), decode::CacheDepth::kAuto, image));
    // '%' is part of the name, not a frame-number pattern leading to another file.
    ASSERT_TRUE(video::readImage(percent, decode::CacheDepth::kAuto, image));
    EXPECT_TRUE(image.pixels == toolRgba(percent, folder));
}

// What is read is the file that was checked and stamped, even when another one has taken its
// name since: the stamp kept with the frame is the stamp of what was read.
TEST(StillImageReading, ReadsTheFileThatWasChecked) {
    testsupport::TempDir folder;
    const std::string frame = folder.file("f.0001.png");
    const std::string other = folder.file("other.png");
    testsupport::makeMedia(std::string(kNoise) + "-pix_fmt rgba", frame);
    testsupport::makeMedia("-f lavfi -i color=red:s=16x16 -frames:v 1", other);
    const std::vector<unsigned char> checkedPixels = toolRgba(frame, folder);

    std::optional<video::FrameFile> checked = video::openFrameFile(frame);
    ASSERT_TRUE(checked.has_value());
    ASSERT_EQ(std::rename(other.c_str(), frame.c_str()), 0);
    EXPECT_NE(video::currentFileStamp(frame), checked->stamp);
    decode::RgbaImage image;
    ASSERT_TRUE(video::readImage(std::move(*checked), frame, decode::CacheDepth::kEightBit, image));
    EXPECT_EQ(image.width, 38);
    EXPECT_TRUE(image.pixels == checkedPixels);

    EXPECT_FALSE(video::openFrameFile(folder.path()));
    EXPECT_FALSE(video::openFrameFile("/proc/self/status"));
}

// Maya may hold an image's pixels as BGRA (isRGBA false) and keeps the bottom row first.
TEST(HostImagePixels, AreTurnedUprightAndIntoRgbaOrder) {
    const std::vector<unsigned char> bottomFirst = {1, 2,  3,  4,  5,  6,  7,  8,    // bottom row
                                                    9, 10, 11, 12, 13, 14, 15, 16};  // top row
    decode::RgbaImage image;
    video::copyHostPixels(bottomFirst.data(), 2, 2, true, image);
    EXPECT_EQ(image.pixels,
              (std::vector<unsigned char>{9, 10, 11, 12, 13, 14, 15, 16, 1, 2, 3, 4, 5, 6, 7, 8}));
    video::copyHostPixels(bottomFirst.data(), 2, 2, false, image);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels,
              (std::vector<unsigned char>{11, 10, 9, 12, 15, 14, 13, 16, 3, 2, 1, 4, 7, 6, 5, 8}));
}

}  // namespace
