#include "picture/HalfFloat.h"

#include <cmath>
#include <cstring>

namespace video {

std::uint16_t toHalf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto sign = static_cast<std::uint16_t>((bits >> 16) & 0x8000u);
    const std::uint32_t magnitude = bits & 0x7FFFFFFFu;
    if (magnitude >= 0x7F800000u) {
        // Infinity, or NaN with a mantissa bit kept set.
        return static_cast<std::uint16_t>(sign | 0x7C00u | (magnitude > 0x7F800000u ? 0x200u : 0u));
    }
    if (magnitude >= 0x477FF000u) {
        // 65520 and above round past the largest half.
        return static_cast<std::uint16_t>(sign | 0x7C00u);
    }
    if (magnitude < 0x38800000u) {
        // Below the smallest normal half: a subnormal, or zero.
        if (magnitude < 0x33000000u) {
            return sign;
        }
        const std::uint32_t exponent = magnitude >> 23;
        const std::uint32_t mantissa = (magnitude & 0x7FFFFFu) | 0x800000u;
        const std::uint32_t shift = 126u - exponent;
        std::uint32_t half = mantissa >> shift;
        const std::uint32_t rest = mantissa & ((1u << shift) - 1u);
        const std::uint32_t halfway = 1u << (shift - 1u);
        if (rest > halfway || (rest == halfway && (half & 1u) != 0)) {
            ++half;
        }
        return static_cast<std::uint16_t>(sign | half);
    }
    std::uint32_t half = ((magnitude - 0x38000000u) >> 13);
    const std::uint32_t rest = magnitude & 0x1FFFu;
    if (rest > 0x1000u || (rest == 0x1000u && (half & 1u) != 0)) {
        ++half;
    }
    return static_cast<std::uint16_t>(sign | half);
}

float fromHalf(std::uint16_t half) {
    const std::uint32_t sign = static_cast<std::uint32_t>(half & 0x8000u) << 16;
    std::uint32_t exponent = (half >> 10) & 0x1Fu;
    std::uint32_t mantissa = half & 0x3FFu;
    std::uint32_t bits = 0;
    if (exponent == 0x1Fu) {
        bits = sign | 0x7F800000u | (mantissa << 13);
    } else if (exponent != 0) {
        bits = sign | ((exponent + 112u) << 23) | (mantissa << 13);
    } else if (mantissa == 0) {
        bits = sign;
    } else {
        // Subnormal: normalise the mantissa.
        exponent = 113u;
        while ((mantissa & 0x400u) == 0) {
            mantissa <<= 1;
            --exponent;
        }
        bits = sign | (exponent << 23) | ((mantissa & 0x3FFu) << 13);
    }
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

namespace {

// The half nearest a value of 0..1. Rounded through a float first, a value just short of the
// midpoint between two halves can land on it and go the wrong way (65519 / 65535 would become
// 1.0), so the neighbours are weighed in double.
std::uint16_t nearestHalf(double value) {
    std::uint16_t best = toHalf(static_cast<float>(value));
    for (const int step : {-1, 1}) {
        const int candidate = best + step;
        if (candidate >= 0 && std::fabs(fromHalf(static_cast<std::uint16_t>(candidate)) - value) <
                                  std::fabs(fromHalf(best) - value)) {
            best = static_cast<std::uint16_t>(candidate);
        }
    }
    return best;
}

}  // namespace

const std::array<std::uint16_t, 65536>& halfOfSample16() {
    static const std::array<std::uint16_t, 65536> table = [] {
        std::array<std::uint16_t, 65536> halves{};
        for (std::size_t value = 0; value < halves.size(); ++value) {
            halves[value] = nearestHalf(static_cast<double>(value) / 65535.0);
        }
        return halves;
    }();
    return table;
}

}  // namespace video
