#include <host/Rendering.h>

#include "render/ColourConfig.h"
#include "render/ColourManagement.h"
#include "render/Rasterizer.h"
#include "render/TextureAccess.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace host {
namespace {

using MHWRender::MUIDrawManager;

const Colour kBackground{0.25f, 0.25f, 0.25f, 1.0f};
const Colour kUntextured{0.8f, 0.8f, 0.8f, 1.0f};

// A vertex in camera space with its texture coordinate.
struct ViewVertex {
    double x, y, z;
    double u, v;
};

ViewVertex lerp(const ViewVertex& a, const ViewVertex& b, double t) {
    return ViewVertex{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
                      a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
}

// Keeps the part of the polygon where inside(vertex) >= 0 (inside is linear in the vertex).
template <typename Distance>
std::vector<ViewVertex> clip(const std::vector<ViewVertex>& polygon, Distance inside) {
    std::vector<ViewVertex> kept;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const ViewVertex& current = polygon[i];
        const ViewVertex& next = polygon[(i + 1) % polygon.size()];
        const double dc = inside(current);
        const double dn = inside(next);
        if (dc >= 0) {
            kept.push_back(current);
        }
        if ((dc >= 0) != (dn >= 0)) {
            kept.push_back(lerp(current, next, dc / (dc - dn)));
        }
    }
    return kept;
}

// The drawing state a drawable's calls build up.
struct DrawState {
    const MHWRender::MTexture* texture = nullptr;
    // None: the texels are shown as stored.
    std::shared_ptr<const DisplayConversion> display;
    float alphaDiscardThreshold = 0.0f;
    MHWRender::MSamplerState::TextureFilter filter = MHWRender::MSamplerState::kMinMagMipLinear;
    MHWRender::MSamplerState::TextureAddress address = MHWRender::MSamplerState::kTexWrap;
    MHWRender::MBlendState::ChannelMask mask = MHWRender::MBlendState::kRGBAChannels;
    // Untextured primitives without a colour of their own are drawn light grey.
    bool hasColor = false;
    MColor color;
};

class Renderer {
public:
    Renderer(const CameraView& camera, double frameAspect, int width, int height)
        : camera_(camera),
          frame_(renderFrame(camera, frameAspect)),
          worldToCamera_(camera.cameraToWorld.inverse()),
          picture_(width, height, kBackground) {}

    void drawNode(const DrawnNode& node) {
        DrawState state;
        const MMatrix toCamera = node.worldMatrix * worldToCamera_;
        for (const DrawCall& call : node.calls) {
            switch (call.kind) {
                case DrawCall::Kind::BeginDrawable:
                case DrawCall::Kind::EndDrawable:
                    state = DrawState{};
                    break;
                case DrawCall::Kind::SetTexture:
                    state.texture = call.texture;
                    state.display =
                        ColourConfig::instance().conversionFor(call.inputColorSpace.asChar());
                    state.alphaDiscardThreshold = call.alphaDiscardThreshold;
                    break;
                case DrawCall::Kind::SetTextureSampler:
                    state.filter = call.filter;
                    state.address = call.address;
                    break;
                case DrawCall::Kind::SetTextureMask:
                    state.mask = call.mask;
                    break;
                case DrawCall::Kind::SetColor:
                    state.hasColor = true;
                    state.color = call.color;
                    break;
                case DrawCall::Kind::Mesh:
                    drawMesh(call, toCamera, state);
                    break;
                // Text is recorded for its content and place, not rasterised.
                case DrawCall::Kind::SetFontSize:
                case DrawCall::Kind::Text:
                    break;
            }
        }
    }

    RgbaPicture picture() const {
        return RgbaPicture{picture_.width(), picture_.height(), picture_.toBytes()};
    }

private:
    ViewVertex toView(const DrawCall& mesh, unsigned int index, const MMatrix& toCamera) const {
        MPoint point = mesh.positions[index] * toCamera;
        point.cartesianize();
        ViewVertex vertex{point.x, point.y, point.z, 0, 0};
        if (mesh.hasTexCoords && index < mesh.texCoords.length()) {
            vertex.u = mesh.texCoords[index].x;
            vertex.v = mesh.texCoords[index].y;
        }
        return vertex;
    }

    void drawMesh(const DrawCall& mesh, const MMatrix& toCamera, const DrawState& state) {
        // Index lists are not kept by the recorder, so indexed meshes are not drawn.
        if (mesh.hasIndices) {
            return;
        }
        const unsigned int count = mesh.positions.length();
        if (mesh.primitive == MUIDrawManager::kTriangles) {
            for (unsigned int i = 0; i + 2 < count; i += 3) {
                drawTriangle({toView(mesh, i, toCamera), toView(mesh, i + 1, toCamera),
                              toView(mesh, i + 2, toCamera)},
                             state);
            }
        } else if (mesh.primitive == MUIDrawManager::kTriStrip) {
            for (unsigned int i = 0; i + 2 < count; ++i) {
                drawTriangle({toView(mesh, i, toCamera), toView(mesh, i + 1, toCamera),
                              toView(mesh, i + 2, toCamera)},
                             state);
            }
        }
    }

    ScreenVertex project(const ViewVertex& vertex) const {
        const double depth = -vertex.z;
        const double scale = camera_.orthographic ? 1.0 : camera_.focalLength / depth;
        const double ndcX = vertex.x * scale / (frame_.width / 2);
        const double ndcY = vertex.y * scale / (frame_.height / 2);
        ScreenVertex screen;
        screen.x = (ndcX + 1) / 2 * picture_.width();
        screen.y = (1 - ndcY) / 2 * picture_.height();
        screen.depth = depth;
        screen.invW = camera_.orthographic ? 1.0 : 1.0 / depth;
        screen.uOverW = vertex.u * screen.invW;
        screen.vOverW = vertex.v * screen.invW;
        return screen;
    }

    void drawTriangle(const std::vector<ViewVertex>& triangle, const DrawState& state) {
        const double nearZ = -camera_.nearClip;
        const double farZ = -camera_.farClip;
        std::vector<ViewVertex> polygon =
            clip(triangle, [nearZ](const ViewVertex& v) { return nearZ - v.z; });
        polygon = clip(polygon, [farZ](const ViewVertex& v) { return v.z - farZ; });
        if (polygon.size() < 3) {
            return;
        }
        std::vector<ScreenVertex> screen;
        for (const ViewVertex& vertex : polygon) {
            screen.push_back(project(vertex));
        }
        for (std::size_t i = 1; i + 1 < screen.size(); ++i) {
            fillTriangle(screen[0], screen[i], screen[i + 1], polygon[0], polygon[i],
                         polygon[i + 1], state);
        }
    }

    // The level of detail is taken once per triangle from its texel and pixel areas.
    void fillTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                      const ViewVertex& ta, const ViewVertex& tb, const ViewVertex& tc,
                      const DrawState& state) {
        if (state.texture == nullptr) {
            const Colour colour =
                state.hasColor ? Colour{state.color.r, state.color.g, state.color.b, state.color.a}
                               : kUntextured;
            picture_.drawTriangle(a, b, c, [colour](double, double) { return colour; });
            return;
        }
        // A texture released since it was recorded is a use after free, as on a device.
        const MHWRender::MTexture* texture = state.texture;
        const std::vector<TextureView> levels = levelViews(*texture);
        const double texelArea =
            std::abs((tb.u - ta.u) * (tc.v - ta.v) - (tc.u - ta.u) * (tb.v - ta.v)) *
            levels.front().width * levels.front().height;
        const double pixelArea = std::abs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y));
        const double lod = 0.5 * std::log2(texelArea / pixelArea);
        const bool linear = state.filter == MHWRender::MSamplerState::kMinMagMipLinear;
        const bool wrap = state.address == MHWRender::MSamplerState::kTexWrap;
        const float opacity = state.hasColor ? state.color.a : 1.0f;
        picture_.drawTriangle(a, b, c, [&](double u, double v) {
            const Colour texel = sampleMipmapped(levels, lod, u, v, linear, wrap);
            if (texel.a < state.alphaDiscardThreshold) {
                return Colour{};
            }
            const Colour masked = applyChannelMask(texel, state.mask);
            Colour shown = state.display ? state.display->apply(masked) : masked;
            shown.a *= opacity;
            return shown;
        });
    }

    static std::vector<TextureView> levelViews(const MHWRender::MTexture& texture) {
        const int width = TextureAccess::width(texture);
        const int height = TextureAccess::height(texture);
        std::vector<TextureView> views;
        for (const std::vector<std::uint8_t>& level : TextureAccess::levels(texture)) {
            const int shift = static_cast<int>(views.size());
            views.push_back(TextureView{level.empty() ? nullptr : level.data(),
                                        std::max(1, width >> shift), std::max(1, height >> shift),
                                        TextureAccess::isHalfFloat(texture)});
        }
        return views;
    }

    CameraView camera_;
    RenderFrame frame_;
    MMatrix worldToCamera_;
    Framebuffer picture_;
};

}  // namespace

RgbaPicture renderScene(const CameraView& camera, double frameAspect, int width, int height,
                        const std::vector<DrawnNode>& nodes) {
    Renderer renderer(camera, frameAspect, width, height);
    for (const DrawnNode& node : nodes) {
        renderer.drawNode(node);
    }
    return renderer.picture();
}

}  // namespace host
