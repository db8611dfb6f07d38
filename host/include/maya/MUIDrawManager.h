#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MColor.h>
#include <maya/MDeprecate.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MStateManager.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTextureManager.h>
#include <maya/MTypes.h>

namespace host {
class DrawRecorder;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MVectorArray;
class MColorArray;
class MUintArray;

namespace MHWRender {

// Collects the simple geometry a draw override adds to the viewport. Drawables are begun,
// given state (texture, sampler, mask) and primitives, and ended.
class MUIDrawManager {
public:
    // kAutomatic: selectable when the object is (locators are).
    enum Selectability {
        kNonSelectable = 0,
        kSelectable,
        kAutomatic,
    };

    // Pixel heights.
    enum FontSize {
        kDefaultFontSize = 12,
        kSmallFontSize = 9,
    };

    // Where the text stands against its position.
    enum TextAlignment {
        kLeft = 0,
        kCenter,
        kRight,
    };

    enum Primitive {
        kPoints = 0,
        kLines,
        kLineStrip,
        kClosedLine,
        kTriangles,
        kTriStrip,
    };

    void beginDrawable(Selectability selectability = kAutomatic, unsigned int selectionName = 0);
    OPENMAYA_DEPRECATED(2019, "Use beginDrawable(Selectability, unsigned int).")
    void beginDrawable(unsigned int name, bool nameIsPickable);
    // Ending a drawable resets its state: colour, font size, texture, sampler and mask.
    void endDrawable();
    // The colour of the drawable's primitives. A textured mesh is blended over the picture by
    // the colour's alpha times the texel's (its colour components leave the texels as they are).
    void setColor(const MColor& color);
    // Text height in pixels, any value.
    void setFontSize(const unsigned int fontSize);
    // Null draws the following primitives untextured.
#if MAYA_API_VERSION >= 20230000
    // The texture's colours are in inputColorSpace (empty: shown untransformed) and are shown
    // through the viewport's colour management; texels whose alpha is below
    // alphaDiscardThreshold are not drawn.
    void setTexture(MHWRender::MTexture* texture, const MString& inputColorSpace = {},
                    const float alphaDiscardThreshold = 0.05f);
#else
    void setTexture(MHWRender::MTexture* texture);
#endif
    // Only kMinMagMipPoint and kMinMagMipLinear with kTexWrap or kTexClamp; anything else is
    // kInvalidParameter and leaves the sampler as it was.
    MStatus setTextureSampler(MSamplerState::TextureFilter filter,
                              MSamplerState::TextureAddress address);
    // Only kRGBAChannels, kRGBChannels and kAlphaChannel; anything else is kInvalidParameter
    // and leaves the mask as it was.
    MStatus setTextureMask(MBlendState::ChannelMask mask);
    void mesh(Primitive mode, const MPointArray& position, const MVectorArray* normal = nullptr,
              const MColorArray* color = nullptr, const MUintArray* index = nullptr,
              const MPointArray* texcoord = nullptr);
    // Screen-aligned text at a point in the object's space, in the drawable's colour.
    void text(const MPoint& position, const MString& text, TextAlignment alignment = kLeft,
              const int* backgroundSize = nullptr, const MColor* backgroundColor = nullptr,
              bool dynamic = false);

    MUIDrawManager(const MUIDrawManager&) = delete;
    MUIDrawManager& operator=(const MUIDrawManager&) = delete;

private:
    friend class ::host::DrawRecorder;
    explicit MUIDrawManager(::host::DrawRecorder& recorder);
    ~MUIDrawManager();

    ::host::DrawRecorder& recorder_;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
