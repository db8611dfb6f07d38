#include "node/HostImageReader.h"
#include "picture/HalfFloat.h"
#include "sequence/SequenceImage.h"

#include <gtest/gtest.h>

#include "Media.h"
#include "TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct StillFormat {
    const char* extension;
    const char* encoding;
    decode::SampleDepth samples;
};

// A picture of the width with every channel varying, alpha included where the format keeps it;
// upside down when `flipped`.
std::string noise(int width, bool flipped = false) {
    return "-f lavfi -i color=black:s=" + std::to_string(width) +
           "x24 -frames:v 1 -vf \"format=rgba,geq=r='mod(7*X+3*Y,256)':"
           "g='mod(5*Y+X*X,256)':b='mod(X*Y+11,256)':a='mod(4*X+9*Y,256)'" +
           (flipped ? ",vflip" : "") + "\" ";
}
const std::string kNoise = noise(38);

// What a cache keeps of a file: the picture decoded and written into a buffer of its bytes,
// past whose end nothing may be written. The pixels are left empty when it cannot be read.
struct Kept {
    int width = 0;
    int height = 0;
    decode::TexelFormat format = decode::TexelFormat::kRgba8;
    std::vector<unsigned char> pixels;
};

Kept keep(video::FrameFile file, const std::string& path, decode::CacheDepth depth,
          decode::StillDecoders* decoders = nullptr) {
    constexpr size_t kGuardBytes = 4096;
    constexpr unsigned char kGuard = 0xA5;
    const std::optional<video::SequenceImage> image =
        video::SequenceImage::read(std::move(file), path, depth, decoders);
    if (!image) {
        return Kept{};
    }
    std::vector<unsigned char> buffer(image->bytes() + kGuardBytes, kGuard);
    EXPECT_TRUE(image->writeTo(buffer.data())) << path;
    for (size_t i = image->bytes(); i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], kGuard)
            << path << ": written " << i - image->bytes() << " bytes past the picture";
    }
    buffer.resize(image->bytes());
    return Kept{image->width(), image->height(), image->format(), std::move(buffer)};
}

Kept keep(const std::string& path, decode::CacheDepth depth,
          decode::StillDecoders* decoders = nullptr) {
    std::optional<video::FrameFile> file = video::openFrameFile(path);
    return file ? keep(std::move(*file), path, depth, decoders) : Kept{};
}

std::vector<unsigned char> toolDecode(const std::string& file, const char* pixelFormat,
                                      const testsupport::TempDir& folder) {
    const std::string raw = folder.file("tool.raw");
    testsupport::makeMedia(
        "-i " + testsupport::shellQuote(file) + " -f rawvideo -pix_fmt " + pixelFormat, raw);
    return testsupport::readBytes(raw);
}

std::vector<unsigned char> toolRgba(const std::string& file, const testsupport::TempDir& folder) {
    return toolDecode(file, "rgba", folder);
}

// The tool's decode in half floats: float planes rounded to the nearest half, 16-bit samples
// to the nearest half of v / 65535.
std::vector<unsigned char> toolHalf(const std::string& file, decode::SampleDepth samples,
                                    const testsupport::TempDir& folder) {
    std::vector<std::uint16_t> halves;
    if (samples == decode::SampleDepth::kFloat) {
        const std::vector<unsigned char> raw = toolDecode(file, "gbrapf32le", folder);
        std::vector<float> planes(raw.size() / 4);
        std::memcpy(planes.data(), raw.data(), raw.size());
        const size_t texels = planes.size() / 4;
        for (size_t texel = 0; texel < texels; ++texel) {
            for (const size_t plane : {2, 0, 1, 3}) {  // red, green, blue, alpha
                halves.push_back(video::toHalf(planes[texel + plane * texels]));
            }
        }
    } else {
        const std::vector<unsigned char> raw = toolDecode(file, "rgba64le", folder);
        for (size_t i = 0; i + 1 < raw.size(); i += 2) {
            halves.push_back(video::halfOfSample16()[raw[i] | raw[i + 1] << 8]);
        }
    }
    std::vector<unsigned char> bytes(halves.size() * 2);
    std::memcpy(bytes.data(), halves.data(), bytes.size());
    return bytes;
}

// Each format the readers meet in footage, in 8 and more bits, with and without alpha, at each
// depth, written into a cache's buffer: 8-bit frames are the ffmpeg tool's decode, byte for byte,
// without the host's image reader; half-float frames are the tool's float or 16-bit decode
// rounded to halves. Float images are kept as half float at "Auto" and "Half", images of more
// than 8 integer bits at "Half" only. Rows of 38 texels are no whole number of vectors, rows of
// 64 are, and may be written straight into the buffer. The reads share kept decoders, as a
// sequence's do: each file after another of its format, of another width or of other pictures.
TEST(StillImageReading, EveryFormatAndDepthIsTheToolsDecode) {
    using decode::CacheDepth;
    using decode::SampleDepth;
    const StillFormat formats[] = {
        {"png", "-pix_fmt rgba", SampleDepth::kEightBit},
        {"png", "-pix_fmt rgb48be", SampleDepth::kDeep},
        {"jpg", "-pix_fmt yuvj420p -q:v 3", SampleDepth::kEightBit},
        {"tif", "-pix_fmt rgb48le -compression_algo lzw", SampleDepth::kDeep},
        {"dpx", "-pix_fmt gbrp10le", SampleDepth::kDeep},
        {"tga", "-pix_fmt bgra", SampleDepth::kEightBit},
        {"bmp", "-pix_fmt bgr24", SampleDepth::kEightBit},
        {"sgi", "-pix_fmt rgba", SampleDepth::kEightBit},
        {"exr", "-pix_fmt gbrapf32le -c:v exr -format float -compression 3", SampleDepth::kFloat},
    };
    testsupport::TempDir folder;
    decode::StillDecoders decoders(std::size(formats));
    int made = 0;
    const std::pair<int, bool> pictures[] = {{38, false}, {64, false}, {64, true}};
    for (const auto& [width, flipped] : pictures) {
        for (const StillFormat& format : formats) {
            const std::string file =
                folder.file("still" + std::to_string(++made) + "." + format.extension);
            testsupport::makeMedia(noise(width, flipped) + format.encoding, file);
            const std::vector<unsigned char> eightBit = toolRgba(file, folder);
            const std::vector<unsigned char> half = format.samples == SampleDepth::kEightBit
                                                        ? eightBit
                                                        : toolHalf(file, format.samples, folder);
            for (const CacheDepth depth :
                 {CacheDepth::kEightBit, CacheDepth::kAuto, CacheDepth::kHalf}) {
                const std::string what = std::string(format.extension) + " " + format.encoding +
                                         ", width " + std::to_string(width) +
                                         (flipped ? " flipped" : "") + ", depth " +
                                         std::to_string(static_cast<int>(depth));
                const bool keptAsHalf =
                    (depth == CacheDepth::kAuto && format.samples == SampleDepth::kFloat) ||
                    (depth == CacheDepth::kHalf && format.samples != SampleDepth::kEightBit);
                const Kept kept = keep(file, depth, &decoders);
                ASSERT_FALSE(kept.pixels.empty()) << what;
                EXPECT_EQ(kept.width, width);
                EXPECT_EQ(kept.height, 24);
                EXPECT_EQ(kept.format,
                          keptAsHalf ? decode::TexelFormat::kRgbaHalf : decode::TexelFormat::kRgba8)
                    << what;
                EXPECT_TRUE(kept.pixels == (keptAsHalf ? half : eightBit)) << what;
            }
        }
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
    testsupport::makeMedia(kNoise + "-pix_fmt rgba -update 1", percent);
    testsupport::makeMedia(kNoise + "-pix_fmt rgba -update 1", folder.file("frame1.png"));
    EXPECT_TRUE(keep(text, decode::CacheDepth::kAuto).pixels.empty());
    EXPECT_TRUE(keep(video, decode::CacheDepth::kAuto).pixels.empty());
    EXPECT_TRUE(keep(folder.path(), decode::CacheDepth::kAuto).pixels.empty());
    // '%' is part of the name, not a frame-number pattern leading to another file.
    EXPECT_TRUE(keep(percent, decode::CacheDepth::kAuto).pixels == toolRgba(percent, folder));
}

// What is read is the file that was checked and stamped, even when another one has taken its
// name since: the stamp kept with the frame is the stamp of what was read.
TEST(StillImageReading, ReadsTheFileThatWasChecked) {
    testsupport::TempDir folder;
    const std::string frame = folder.file("f.0001.png");
    const std::string other = folder.file("other.png");
    testsupport::makeMedia(kNoise + "-pix_fmt rgba", frame);
    testsupport::makeMedia("-f lavfi -i color=red:s=16x16 -frames:v 1", other);
    const std::vector<unsigned char> checkedPixels = toolRgba(frame, folder);

    std::optional<video::FrameFile> checked = video::openFrameFile(frame);
    ASSERT_TRUE(checked.has_value());
    ASSERT_EQ(std::rename(other.c_str(), frame.c_str()), 0);
    EXPECT_NE(video::currentFileStamp(frame), checked->stamp);
    const Kept kept = keep(std::move(*checked), frame, decode::CacheDepth::kEightBit);
    EXPECT_EQ(kept.width, 38);
    EXPECT_TRUE(kept.pixels == checkedPixels);

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
