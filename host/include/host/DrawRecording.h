#pragma once

#include <maya/MColor.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MUIDrawManager.h>

#include <vector>

// What draw overrides asked the UI draw manager to draw, call by call. Calls the draw manager
// refuses (kInvalidParameter) are not recorded.
namespace host {

struct DrawCall {
    enum class Kind {
        BeginDrawable,
        EndDrawable,
        SetTexture,
        SetTextureSampler,
        SetTextureMask,
        SetColor,
        SetFontSize,
        Mesh,
        Text
    };

    Kind kind = Kind::BeginDrawable;
    // BeginDrawable
    MHWRender::MUIDrawManager::Selectability selectability = MHWRender::MUIDrawManager::kAutomatic;
    unsigned int selectionName = 0;
    // SetTexture. The 2022 API has neither a colour space nor a discard threshold: its texels
    // are shown untransformed and only fully transparent ones leave the picture unchanged.
    MHWRender::MTexture* texture = nullptr;
    MString inputColorSpace;
    float alphaDiscardThreshold = 0.0f;
    // SetTextureSampler
    MHWRender::MSamplerState::TextureFilter filter = MHWRender::MSamplerState::kMinMagMipPoint;
    MHWRender::MSamplerState::TextureAddress address = MHWRender::MSamplerState::kTexWrap;
    // SetTextureMask
    MHWRender::MBlendState::ChannelMask mask = MHWRender::MBlendState::kRGBAChannels;
    // SetColor
    MColor color;
    // SetFontSize
    unsigned int fontSize = MHWRender::MUIDrawManager::kDefaultFontSize;
    // Text: where, what and how it is aligned; a background box is only noted.
    MPoint textPosition;
    MString text;
    MHWRender::MUIDrawManager::TextAlignment alignment = MHWRender::MUIDrawManager::kLeft;
    bool hasBackground = false;
    // Mesh: the arrays are copied; normals, colours and indices are only noted.
    MHWRender::MUIDrawManager::Primitive primitive = MHWRender::MUIDrawManager::kTriangles;
    MPointArray positions;
    MPointArray texCoords;
    bool hasNormals = false;
    bool hasColors = false;
    bool hasIndices = false;
    bool hasTexCoords = false;
};

// Owns a UI draw manager and the calls made on it.
class DrawRecorder {
public:
    DrawRecorder();
    ~DrawRecorder();
    DrawRecorder(const DrawRecorder&) = delete;
    DrawRecorder& operator=(const DrawRecorder&) = delete;

    MHWRender::MUIDrawManager& manager() { return manager_; }
    const std::vector<DrawCall>& calls() const { return calls_; }
    void clear() { calls_.clear(); }

private:
    friend class MHWRender::MUIDrawManager;
    void record(DrawCall call) { calls_.push_back(std::move(call)); }

    std::vector<DrawCall> calls_;
    MHWRender::MUIDrawManager manager_;
};

const char* drawCallName(DrawCall::Kind kind);

}  // namespace host
