#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MPointArray.h>
#include <maya/MStateManager.h>

namespace host {
class DrawRecorder;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MVectorArray;
class MColorArray;
class MUintArray;

namespace MHWRender {

class MTexture;

// Collects the simple geometry a draw override adds to the viewport. Drawables are begun,
// given state (texture, sampler, mask) and primitives, and ended.
class MUIDrawManager {
public:
    enum Selectability {
        kSelectable = 0,
        kNonSelectable,
        kAutomatic,
    };

    enum Primitive {
        kPoints = 0,
        kLines,
        kLineStrip,
        kClosedLine,
        kTriangles,
        kTriStrip,
    };

    void beginDrawable(Selectability selectability = kNonSelectable,
                       unsigned int selectionName = 0);
    void endDrawable();
    // Null draws the following primitives untextured.
    void setTexture(MTexture* texture);
    void setTextureSampler(MSamplerState::TextureFilter filter,
                           MSamplerState::TextureAddress address);
    void setTextureMask(MBlendState::ChannelMask mask);
    void mesh(Primitive mode, const MPointArray& position, const MVectorArray* normal = nullptr,
              const MColorArray* color = nullptr, const MUintArray* index = nullptr,
              const MPointArray* texcoord = nullptr);

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
