#include "picture/HalfFloat.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

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

}  // namespace
