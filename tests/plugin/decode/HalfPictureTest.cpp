#include "decode/CacheDepth.h"
#include "decode/StillImage.h"
#include "picture/HalfFloat.h"

#include <gtest/gtest.h>

#include "Media.h"
#include "TestSupport.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using decode::CacheDepth;
using decode::SampleDepth;
using decode::TexelFormat;

// The picture as a cache keeps it at the depth.
decode::RgbaImage converted(const AVFrame& picture, CacheDepth depth) {
    decode::RgbaImage image;
    image.width = picture.width;
    image.height = picture.height;
    image.format = decode::stillTexelFormat(depth, picture);
    image.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height *
                        decode::bytesPerTexel(image.format));
    EXPECT_TRUE(decode::writeForCache(picture, image.format, image.pixels.data()));
    return image;
}

std::vector<float> halvesOf(const decode::RgbaImage& image) {
    std::vector<std::uint16_t> halves(image.pixels.size() / 2);
    std::memcpy(halves.data(), image.pixels.data(), image.pixels.size());
    std::vector<float> values;
    for (std::uint16_t half : halves) {
        values.push_back(video::fromHalf(half));
    }
    return values;
}

// Every half value survives the trip through float, and float values round to the nearest half,
// ties to even, past the range to infinity.
TEST(HalfFloat, RoundsToNearestEven) {
    for (std::uint32_t bits = 0; bits < 0x10000; ++bits) {
        const auto half = static_cast<std::uint16_t>(bits);
        const float value = video::fromHalf(half);
        if (std::isnan(value)) {
            EXPECT_TRUE(std::isnan(video::fromHalf(video::toHalf(value))));
            continue;
        }
        ASSERT_EQ(video::toHalf(value), half) << bits;
    }
    EXPECT_EQ(video::toHalf(1.0f), video::kHalfOne);
    EXPECT_EQ(video::fromHalf(0x3C00), 1.0f);
    EXPECT_EQ(video::fromHalf(0x4400), 4.0f);
    EXPECT_EQ(video::toHalf(-2.0f), 0xC000);
    // 1 + 2^-11 lies halfway between 1 and the next half: the even one, 1, wins; just above it
    // rounds up.
    EXPECT_EQ(video::toHalf(1.0f + std::ldexp(1.0f, -11)), 0x3C00);
    EXPECT_EQ(video::toHalf(1.0f + std::ldexp(1.0f, -11) + std::ldexp(1.0f, -20)), 0x3C01);
    EXPECT_EQ(video::toHalf(65504.0f), 0x7BFF);
    EXPECT_EQ(video::toHalf(70000.0f), 0x7C00);
    EXPECT_EQ(video::toHalf(std::numeric_limits<float>::infinity()), 0x7C00);
    // The smallest subnormal half, and half of it (a tie, to even: zero).
    EXPECT_EQ(video::toHalf(std::ldexp(1.0f, -24)), 0x0001);
    EXPECT_EQ(video::toHalf(std::ldexp(1.0f, -25)), 0x0000);
    EXPECT_EQ(video::toHalf(std::ldexp(1.5f, -25)), 0x0001);
}

// Float EXR planes come through as they are: values past 1 and below 0 kept, red, green and
// blue in their places, alpha 1 where the file has none. The "8-bit" depth keeps today's bytes.
// A 16-bit sample becomes the half nearest v / 65535, also where going through a float would land
// on the midpoint of two halves and round the wrong way (65519 would become 1.0).
TEST(HalfFloat, SixteenBitSamplesTakeTheNearestHalf) {
    const std::array<std::uint16_t, 65536>& halves = video::halfOfSample16();
    EXPECT_EQ(halves[0], 0);
    EXPECT_EQ(halves[65535], video::kHalfOne);
    EXPECT_EQ(halves[65519], 0x3BFF);
    for (std::uint32_t sample = 0; sample < 65536; ++sample) {
        const double value = sample / 65535.0;
        const std::uint16_t half = halves[sample];
        const double error = std::fabs(video::fromHalf(half) - value);
        for (const int step : {-1, 1}) {
            const int neighbour = half + step;
            if (neighbour >= 0 && neighbour <= 0x3C00) {
                ASSERT_LE(error,
                          std::fabs(video::fromHalf(static_cast<std::uint16_t>(neighbour)) - value))
                    << "sample " << sample;
            }
        }
    }
}

// Rows of floats become toHalf's values in RGBA order, eight texels at a time where the processor
// converts them and one at a time past the last eight: ties, subnormals, values past the half
// range, infinities and NaNs with their payload, of either sign.
TEST(HalfFloat, FloatRowsTakeToHalfsValues) {
    const float specials[] = {0.0f,
                              -0.0f,
                              1.0f,
                              1.0f + std::ldexp(1.0f, -11),
                              1.0f + 3 * std::ldexp(1.0f, -11),
                              std::ldexp(1.5f, -25),
                              std::ldexp(1.0f, -25),
                              std::ldexp(1.0f, -130),
                              65504.0f,
                              65519.0f,
                              65520.0f,
                              -1e9f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(),
                              -std::numeric_limits<float>::signaling_NaN(),
                              0.1f,
                              -2.5f,
                              0.333f};
    constexpr int kWidth = sizeof specials / sizeof specials[0];
    std::array<std::vector<float>, 4> planes;
    for (size_t plane = 0; plane < planes.size(); ++plane) {
        for (int column = 0; column < kWidth; ++column) {
            planes[plane].push_back(specials[(column + plane * 5) % kWidth]);
        }
    }
    const auto bytes = [&](size_t plane) {
        return reinterpret_cast<const unsigned char*>(planes[plane].data());
    };
    for (const bool withAlpha : {true, false}) {
        std::vector<std::uint16_t> out(kWidth * 4);
        video::halfRgbaRow(bytes(0), bytes(1), bytes(2), withAlpha ? bytes(3) : nullptr, kWidth,
                           out.data());
        for (int column = 0; column < kWidth; ++column) {
            for (size_t channel = 0; channel < 4; ++channel) {
                const std::uint16_t expected = channel == 3 && !withAlpha
                                                   ? video::kHalfOne
                                                   : video::toHalf(planes[channel][column]);
                EXPECT_EQ(out[column * 4 + channel], expected)
                    << "column " << column << " channel " << channel;
            }
        }
    }
}

TEST(HalfPicture, FloatImageKeepsItsRange) {
    testsupport::TempDir folder;
    const int width = 4;
    const int height = 2;
    // Planes in the order of FFmpeg's gbrpf32le: green, blue, red.
    // Values a half holds exactly, so the encoder's rounding does not matter.
    const float red[8] = {0.0f, 0.5f, 1.0f, 4.0f, -0.25f, 0.0625f, 2.5f, 0.0009765625f};
    std::vector<float> planes;
    for (int i = 0; i < 8; ++i)
        planes.push_back(red[i] / 2);  // green
    for (int i = 0; i < 8; ++i)
        planes.push_back(0.125f);  // blue
    for (int i = 0; i < 8; ++i)
        planes.push_back(red[i]);  // red
    std::string raw(planes.size() * sizeof(float), '\0');
    std::memcpy(raw.data(), planes.data(), raw.size());
    const std::string source = folder.file("plate.gbrpf32");
    testsupport::writeFile(source, raw);
    const std::string exr = folder.file("plate.exr");
    testsupport::makeMedia("-f rawvideo -pix_fmt gbrpf32le -s 4x2 -i " +
                               testsupport::shellQuote(source) + " -format half -compression none",
                           exr);

    const video::FramePtr picture = decode::decodeStillImage(exr);
    ASSERT_TRUE(picture);
    EXPECT_EQ(decode::sampleDepthOf(*picture), SampleDepth::kFloat);
    const decode::RgbaImage image = converted(*picture, CacheDepth::kAuto);
    EXPECT_EQ(image.format, TexelFormat::kRgbaHalf);
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    ASSERT_EQ(image.bytes(), static_cast<std::size_t>(width * height * 8));
    const std::vector<float> values = halvesOf(image);
    for (int i = 0; i < width * height; ++i) {
        EXPECT_EQ(values[i * 4], red[i]) << i;
        EXPECT_EQ(values[i * 4 + 1], red[i] / 2) << i;
        EXPECT_EQ(values[i * 4 + 2], 0.125f) << i;
        EXPECT_EQ(values[i * 4 + 3], 1.0f) << i;
    }
    EXPECT_EQ(values[3 * 4], 4.0f);
    EXPECT_EQ(values[4 * 4], -0.25f);

    const decode::RgbaImage eightBit = converted(*picture, CacheDepth::kEightBit);
    EXPECT_EQ(eightBit.format, TexelFormat::kRgba8);
    EXPECT_EQ(eightBit.bytes(), static_cast<std::size_t>(width * height * 4));
}

// Integer sources: 16-bit ones are half float only when "Half" asks, scaled to 0..1 with alpha
// kept; 8-bit ones stay 8-bit whatever is asked.
TEST(HalfPicture, DeepIntegerImagesFollowTheDepth) {
    testsupport::TempDir folder;
    const std::string deep = folder.file("deep.png");
    testsupport::makeMedia(
        "-f lavfi -i color=black:s=8x4 -frames:v 1 -vf \"format=rgba64be,geq=r='X*8000':"
        "g='Y*16000':b='65535':a='32768'\" -pix_fmt rgba64be",
        deep);
    const std::string shallow = folder.file("shallow.png");
    testsupport::makeMedia("-f lavfi -i color=red:s=8x4 -frames:v 1 -pix_fmt rgba", shallow);

    const video::FramePtr deepPicture = decode::decodeStillImage(deep);
    ASSERT_TRUE(deepPicture);
    EXPECT_EQ(decode::sampleDepthOf(*deepPicture), SampleDepth::kDeep);
    EXPECT_EQ(converted(*deepPicture, CacheDepth::kAuto).format, TexelFormat::kRgba8);
    const decode::RgbaImage image = converted(*deepPicture, CacheDepth::kHalf);
    ASSERT_EQ(image.format, TexelFormat::kRgbaHalf);
    const std::vector<float> values = halvesOf(image);
    const auto texel = [&](int x, int y, int channel) { return values[(y * 8 + x) * 4 + channel]; };
    EXPECT_NEAR(texel(3, 0, 0), 24000.0f / 65535.0f, 1e-3f);
    EXPECT_NEAR(texel(0, 2, 1), 32000.0f / 65535.0f, 1e-3f);
    EXPECT_EQ(texel(5, 3, 2), 1.0f);
    EXPECT_NEAR(texel(5, 3, 3), 32768.0f / 65535.0f, 1e-3f);

    const video::FramePtr shallowPicture = decode::decodeStillImage(shallow);
    ASSERT_TRUE(shallowPicture);
    EXPECT_EQ(decode::sampleDepthOf(*shallowPicture), SampleDepth::kEightBit);
    const decode::RgbaImage halfAsked = converted(*shallowPicture, CacheDepth::kHalf);
    const decode::RgbaImage eightBit = converted(*shallowPicture, CacheDepth::kEightBit);
    EXPECT_EQ(halfAsked.format, TexelFormat::kRgba8);
    EXPECT_EQ(halfAsked.pixels, eightBit.pixels);
}

}  // namespace
