#include "draw/Readout.h"

#include <maya/MColor.h>
#include <maya/MPoint.h>

#include <algorithm>
#include <string>

namespace {

// Share of the picture's height the bar takes, and how far the readout stands in front of the
// picture (in the quad's units, half the picture's height) so that it is not hidden by it.
constexpr double kBarHeight = 0.03 * 2.0;
constexpr double kInFront = 1e-3;
const MColor kBarColor(0.1f, 0.1f, 0.1f);
const MColor kHeldColor(0.2f, 0.8f, 0.3f);
const MColor kTextColor(1.0f, 1.0f, 0.3f);

struct QuadBounds {
    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
};

QuadBounds boundsOf(const MPointArray& quad) {
    QuadBounds bounds{quad[0].x, quad[0].x, quad[0].y, quad[0].y};
    for (unsigned int i = 1; i < quad.length(); ++i) {
        bounds.left = std::min(bounds.left, quad[i].x);
        bounds.right = std::max(bounds.right, quad[i].x);
        bounds.bottom = std::min(bounds.bottom, quad[i].y);
        bounds.top = std::max(bounds.top, quad[i].y);
    }
    return bounds;
}

// Two triangles covering x0..x1 by y0..y1 at depth z.
void appendRectangle(MPointArray& triangles, double x0, double x1, double y0, double y1, double z) {
    triangles.append(x0, y0, z);
    triangles.append(x1, y0, z);
    triangles.append(x1, y1, z);
    triangles.append(x0, y0, z);
    triangles.append(x1, y1, z);
    triangles.append(x0, y1, z);
}

void drawBar(MHWRender::MUIDrawManager& drawManager, const QuadBounds& bounds,
             const video::CachedFrames& cached) {
    const int frames = cached.clip.length();
    if (frames <= 0) {
        return;
    }
    const double width = bounds.right - bounds.left;
    const double bottom = bounds.bottom;
    const double top = bounds.bottom + kBarHeight;
    const auto xOf = [&](int frame) {
        const int offset = std::clamp(frame - cached.clip.first, 0, frames);
        return bounds.left + width * offset / frames;
    };
    MPointArray bar;
    appendRectangle(bar, bounds.left, bounds.right, bottom, top, kInFront);
    drawManager.setColor(kBarColor);
    drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, bar);

    MPointArray held;
    for (const video::FrameWindow& run : cached.held) {
        if (run.last >= cached.clip.first && run.first <= cached.clip.last) {
            appendRectangle(held, xOf(run.first), xOf(run.last + 1), bottom, top, 2 * kInFront);
        }
    }
    if (held.length() > 0) {
        drawManager.setColor(kHeldColor);
        drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, held);
    }
}

std::string fileNameOf(const MString& path) {
    const std::string text = path.asChar();
    const size_t slash = text.find_last_of('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

}  // namespace

MString readoutLine(int mediaFrame, const std::string& timecode, const MString& filePath) {
    const std::string label = timecode.empty() ? fileNameOf(filePath) : timecode;
    return MString(("frame " + std::to_string(mediaFrame) + "  " + label).c_str());
}

MString awaitedReadoutLine(const MString& standInLine, int awaitedFrame) {
    const std::string awaited = "(not yet frame " + std::to_string(awaitedFrame) + ")";
    return MString(
        (standInLine.length() > 0 ? std::string(standInLine.asChar()) + "  " + awaited : awaited)
            .c_str());
}

void drawReadout(MHWRender::MUIDrawManager& drawManager, const MPointArray& quad,
                 const MString& line, const video::CachedFrames& cached) {
    if (quad.length() == 0) {
        return;
    }
    const QuadBounds bounds = boundsOf(quad);
    drawManager.beginDrawable(MHWRender::MUIDrawManager::kNonSelectable, 0);
    drawBar(drawManager, bounds, cached);
    if (line.length() > 0) {
        // Inside the picture, below its top edge by a little more than a line.
        const double margin = 0.04 * (bounds.top - bounds.bottom);
        drawManager.setColor(kTextColor);
        drawManager.setFontSize(MHWRender::MUIDrawManager::kDefaultFontSize);
        drawManager.text(MPoint(bounds.left + margin, bounds.top - 2 * margin, 3 * kInFront), line,
                         MHWRender::MUIDrawManager::kLeft);
    }
    drawManager.endDrawable();
}
