#include <maya/MUIDrawManager.h>

#include <host/DrawRecording.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

MUIDrawManager::MUIDrawManager(::host::DrawRecorder& recorder) : recorder_(recorder) {}

MUIDrawManager::~MUIDrawManager() = default;

void MUIDrawManager::beginDrawable(Selectability selectability, unsigned int selectionName) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::BeginDrawable;
    call.selectability = selectability;
    call.selectionName = selectionName;
    recorder_.record(std::move(call));
}

void MUIDrawManager::beginDrawable(unsigned int name, bool nameIsPickable) {
    beginDrawable(nameIsPickable ? kSelectable : kNonSelectable, name);
}

void MUIDrawManager::endDrawable() {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::EndDrawable;
    recorder_.record(std::move(call));
}

void MUIDrawManager::setColor(const MColor& color) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::SetColor;
    call.color = color;
    recorder_.record(std::move(call));
}

void MUIDrawManager::setFontSize(const unsigned int fontSize) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::SetFontSize;
    call.fontSize = fontSize;
    recorder_.record(std::move(call));
}

#if MAYA_API_VERSION >= 20230000
void MUIDrawManager::setTexture(MTexture* texture, const MString& inputColorSpace,
                                const float alphaDiscardThreshold) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::SetTexture;
    call.texture = texture;
    call.inputColorSpace = inputColorSpace;
    call.alphaDiscardThreshold = alphaDiscardThreshold;
    recorder_.record(std::move(call));
}
#else
void MUIDrawManager::setTexture(MTexture* texture) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::SetTexture;
    call.texture = texture;
    recorder_.record(std::move(call));
}
#endif

MStatus MUIDrawManager::setTextureSampler(MSamplerState::TextureFilter filter,
                                          MSamplerState::TextureAddress address) {
    const bool supportedFilter =
        filter == MSamplerState::kMinMagMipPoint || filter == MSamplerState::kMinMagMipLinear;
    const bool supportedAddress =
        address == MSamplerState::kTexWrap || address == MSamplerState::kTexClamp;
    if (!supportedFilter || !supportedAddress) {
        return MStatus::kInvalidParameter;
    }
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::SetTextureSampler;
    call.filter = filter;
    call.address = address;
    recorder_.record(std::move(call));
    return MStatus::kSuccess;
}

MStatus MUIDrawManager::setTextureMask(MBlendState::ChannelMask mask) {
    if (mask != MBlendState::kRGBAChannels && mask != MBlendState::kRGBChannels &&
        mask != MBlendState::kAlphaChannel) {
        return MStatus::kInvalidParameter;
    }
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::SetTextureMask;
    call.mask = mask;
    recorder_.record(std::move(call));
    return MStatus::kSuccess;
}

void MUIDrawManager::mesh(Primitive mode, const MPointArray& position, const MVectorArray* normal,
                          const MColorArray* color, const MUintArray* index,
                          const MPointArray* texcoord) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::Mesh;
    call.primitive = mode;
    call.positions = position;
    call.hasNormals = normal != nullptr;
    call.hasColors = color != nullptr;
    call.hasIndices = index != nullptr;
    call.hasTexCoords = texcoord != nullptr;
    if (texcoord != nullptr) {
        call.texCoords = *texcoord;
    }
    recorder_.record(std::move(call));
}

void MUIDrawManager::text(const MPoint& position, const MString& text, TextAlignment alignment,
                          const int* backgroundSize, const MColor* backgroundColor, bool) {
    host::DrawCall call;
    call.kind = host::DrawCall::Kind::Text;
    call.textPosition = position;
    call.text = text;
    call.alignment = alignment;
    call.hasBackground = backgroundSize != nullptr || backgroundColor != nullptr;
    recorder_.record(std::move(call));
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
