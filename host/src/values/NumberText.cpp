#include "NumberText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace values {
namespace {

// Largest magnitude below which every whole double prints exactly as digits without exponent.
constexpr double kPlainWholeLimit = 1e15;

template <typename Real>
std::string shortest(Real value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < kPlainWholeLimit) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
        return buffer;
    }
    char buffer[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(value));
        if (static_cast<Real>(std::strtod(buffer, nullptr)) == value) {
            break;
        }
    }
    return buffer;
}

bool onlyBlanksFrom(const char* rest) {
    while (*rest != '\0') {
        if (!std::isspace(static_cast<unsigned char>(*rest))) {
            return false;
        }
        ++rest;
    }
    return true;
}

}  // namespace

std::string formatDouble(double value) {
    return shortest(value);
}

std::string formatFloat(float value) {
    return shortest(value);
}

bool parseLong(const std::string& text, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && errno == 0 && onlyBlanksFrom(end);
}

bool parseDouble(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && onlyBlanksFrom(end);
}

}  // namespace values
