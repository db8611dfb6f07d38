#include "picture/HalfFloat.h"

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

#include <cmath>
#include <cstring>

namespace video {

std::uint16_t toHalf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto sign = static_cast<std::uint16_t>((bits >> 16) & 0x8000u);
    const std::uint32_t magnitude = bits & 0x7FFFFFFFu;
    if (magnitude >= 0x7F800000u) {
        // Infinity, or a quiet NaN with the top of the payload kept, as the processor's own
        // conversion gives it.
        const std::uint32_t nan =
            magnitude > 0x7F800000u ? 0x200u | ((magnitude >> 13) & 0x3FFu) : 0u;
        return static_cast<std::uint16_t>(sign | 0x7C00u | nan);
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

float floatAt(const unsigned char* row, int column) {
    float value = 0.0f;
    std::memcpy(&value, row + static_cast<std::ptrdiff_t>(column) * 4, sizeof value);
    return value;
}

// Texels from `column` on, one at a time.
void halfRgbaColumns(const unsigned char* red, const unsigned char* green,
                     const unsigned char* blue, const unsigned char* alpha, int column, int width,
                     std::uint16_t* out) {
    for (; column < width; ++column) {
        out[0] = toHalf(floatAt(red, column));
        out[1] = toHalf(floatAt(green, column));
        out[2] = toHalf(floatAt(blue, column));
        out[3] = alpha ? toHalf(floatAt(alpha, column)) : kHalfOne;
        out += 4;
    }
}

#if defined(__x86_64__)
// Eight samples of a row from `column` on, rounded to nearest even as toHalf rounds.
__attribute__((target("avx,f16c"))) __m128i eightHalves(const unsigned char* row, int column) {
    const auto* samples =
        reinterpret_cast<const float*>(row + static_cast<std::ptrdiff_t>(column) * 4);
    return _mm256_cvtps_ph(_mm256_loadu_ps(samples), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
}

// Eight texels a step with the processor's conversion, interleaved into RGBA; the columns left
// over one at a time.
__attribute__((target("avx,f16c"))) void halfRgbaRowF16c(const unsigned char* red,
                                                         const unsigned char* green,
                                                         const unsigned char* blue,
                                                         const unsigned char* alpha, int width,
                                                         std::uint16_t* out) {
    const __m128i one = _mm_set1_epi16(static_cast<short>(kHalfOne));
    int column = 0;
    for (; column + 8 <= width; column += 8) {
        const __m128i r = eightHalves(red, column);
        const __m128i g = eightHalves(green, column);
        const __m128i b = eightHalves(blue, column);
        const __m128i a = alpha ? eightHalves(alpha, column) : one;
        const __m128i rgLow = _mm_unpacklo_epi16(r, g);
        const __m128i rgHigh = _mm_unpackhi_epi16(r, g);
        const __m128i baLow = _mm_unpacklo_epi16(b, a);
        const __m128i baHigh = _mm_unpackhi_epi16(b, a);
        auto* texels = reinterpret_cast<__m128i*>(out);
        _mm_storeu_si128(texels, _mm_unpacklo_epi32(rgLow, baLow));
        _mm_storeu_si128(texels + 1, _mm_unpackhi_epi32(rgLow, baLow));
        _mm_storeu_si128(texels + 2, _mm_unpacklo_epi32(rgHigh, baHigh));
        _mm_storeu_si128(texels + 3, _mm_unpackhi_epi32(rgHigh, baHigh));
        out += 32;
    }
    halfRgbaColumns(red, green, blue, alpha, column, width, out);
}

// Clang 14 knows no "f16c" for __builtin_cpu_supports, so that bit is read from CPUID; "avx"
// also says the system saves the registers the conversion uses.
bool hasF16c() {
    static const bool has = [] {
        unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
        return __builtin_cpu_supports("avx") && __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 &&
               (ecx & bit_F16C) != 0;
    }();
    return has;
}
#endif

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

void halfRgbaRow(const unsigned char* red, const unsigned char* green, const unsigned char* blue,
                 const unsigned char* alpha, int width, std::uint16_t* out) {
#if defined(__x86_64__)
    if (hasF16c()) {
        halfRgbaRowF16c(red, green, blue, alpha, width, out);
        return;
    }
#endif
    halfRgbaColumns(red, green, blue, alpha, 0, width, out);
}

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
