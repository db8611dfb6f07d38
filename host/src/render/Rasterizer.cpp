#include "render/Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace host {
namespace {

double edge(const ScreenVertex& from, const ScreenVertex& to, double x, double y) {
    return (to.x - from.x) * (y - from.y) - (to.y - from.y) * (x - from.x);
}

// With y down and clockwise-on-screen winding, top and left edges own their pixels.
bool isTopLeft(const ScreenVertex& from, const ScreenVertex& to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    return (dy == 0 && dx > 0) || dy < 0;
}

bool covers(double weight, bool topLeft) {
    return weight > 0 || (weight == 0 && topLeft);
}

std::uint8_t toByte(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Framebuffer::Framebuffer(int width, int height, const Colour& background)
    : width_(width),
      height_(height),
      colour_(static_cast<std::size_t>(width) * height, background),
      depth_(static_cast<std::size_t>(width) * height, std::numeric_limits<double>::infinity()) {}

std::vector<std::uint8_t> Framebuffer::toBytes() const {
    std::vector<std::uint8_t> bytes(colour_.size() * 4);
    for (std::size_t i = 0; i < colour_.size(); ++i) {
        bytes[i * 4 + 0] = toByte(colour_[i].r);
        bytes[i * 4 + 1] = toByte(colour_[i].g);
        bytes[i * 4 + 2] = toByte(colour_[i].b);
        bytes[i * 4 + 3] = toByte(colour_[i].a);
    }
    return bytes;
}

void Framebuffer::drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                               const std::function<Colour(double u, double v)>& shade) {
    const double area = edge(a, b, c.x, c.y);
    if (area == 0 || !std::isfinite(area)) {
        return;
    }
    // Wind every triangle the same way so one fill rule serves both faces.
    const ScreenVertex& v0 = a;
    const ScreenVertex& v1 = area > 0 ? b : c;
    const ScreenVertex& v2 = area > 0 ? c : b;
    const double signedArea = std::abs(area);
    const bool topLeft0 = isTopLeft(v1, v2);
    const bool topLeft1 = isTopLeft(v2, v0);
    const bool topLeft2 = isTopLeft(v0, v1);

    const int minX = std::max(0, static_cast<int>(std::floor(std::min({v0.x, v1.x, v2.x}))));
    const int maxX =
        std::min(width_ - 1, static_cast<int>(std::ceil(std::max({v0.x, v1.x, v2.x}))));
    const int minY = std::max(0, static_cast<int>(std::floor(std::min({v0.y, v1.y, v2.y}))));
    const int maxY =
        std::min(height_ - 1, static_cast<int>(std::ceil(std::max({v0.y, v1.y, v2.y}))));
    for (int y = minY; y <= maxY; ++y) {
        const double centreY = y + 0.5;
        for (int x = minX; x <= maxX; ++x) {
            const double centreX = x + 0.5;
            const double w0 = edge(v1, v2, centreX, centreY);
            const double w1 = edge(v2, v0, centreX, centreY);
            const double w2 = edge(v0, v1, centreX, centreY);
            if (!covers(w0, topLeft0) || !covers(w1, topLeft1) || !covers(w2, topLeft2)) {
                continue;
            }
            const double b0 = w0 / signedArea;
            const double b1 = w1 / signedArea;
            const double b2 = w2 / signedArea;
            const double invW = b0 * v0.invW + b1 * v1.invW + b2 * v2.invW;
            const double depth =
                (b0 * v0.depth * v0.invW + b1 * v1.depth * v1.invW + b2 * v2.depth * v2.invW) /
                invW;
            const double u = (b0 * v0.uOverW + b1 * v1.uOverW + b2 * v2.uOverW) / invW;
            const double v = (b0 * v0.vOverW + b1 * v1.vOverW + b2 * v2.vOverW) / invW;
            blend(x, y, depth, shade(u, v));
        }
    }
}

void Framebuffer::blend(int x, int y, double depth, const Colour& colour) {
    const std::size_t index = static_cast<std::size_t>(y) * width_ + x;
    if (colour.a <= 0.0f || !(depth < depth_[index])) {
        return;
    }
    Colour& target = colour_[index];
    const float keep = 1.0f - colour.a;
    target.r = colour.r * colour.a + target.r * keep;
    target.g = colour.g * colour.a + target.g * keep;
    target.b = colour.b * colour.a + target.b * keep;
    target.a = colour.a + target.a * keep;
    depth_[index] = depth;
}

}  // namespace host
