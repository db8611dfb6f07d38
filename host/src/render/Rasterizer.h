#pragma once

#include "render/TextureSampler.h"

#include <functional>
#include <vector>

namespace host {

// A projected vertex: pixel position (y down), depth along the view and the attributes
// divided by w for perspective-correct interpolation.
struct ScreenVertex {
    double x = 0;
    double y = 0;
    double depth = 0;
    double invW = 1;
    double uOverW = 0;
    double vOverW = 0;
};

// Colour and depth of a picture being drawn.
class Framebuffer {
public:
    Framebuffer(int width, int height, const Colour& background);
    int width() const { return width_; }
    int height() const { return height_; }
    // 8-bit RGBA, top row first.
    std::vector<std::uint8_t> toBytes() const;

    // Fills the pixels whose centres lie inside the triangle (top-left rule), nearer than
    // what is there. Transparent fragments are dropped; others are blended over the picture.
    void drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                      const std::function<Colour(double u, double v)>& shade);

private:
    void blend(int x, int y, double depth, const Colour& colour);

    int width_;
    int height_;
    std::vector<Colour> colour_;
    std::vector<double> depth_;
};

}  // namespace host
