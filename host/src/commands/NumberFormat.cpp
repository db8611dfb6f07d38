#include <host/Commands.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace host {

std::string formatNumber(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    if (value == 0.0) {
        return "0";
    }
    char buffer[64];
    if (std::floor(value) == value && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
        return buffer;
    }
    const double tolerance = std::fmax(1e-7, std::fabs(value) * 1e-15);
    for (int precision = 6; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::fabs(std::strtod(buffer, nullptr) - value) <= tolerance) {
            break;
        }
    }
    return buffer;
}

}  // namespace host
