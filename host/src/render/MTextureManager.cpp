#include <maya/MTextureManager.h>

#include <host/Faults.h>

#include "render/TextureAccess.h"
#include "render/TextureRegistry.h"

#include <cstring>
#include <iostream>

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

namespace {

bool isSupported(const MTextureDescription& description) {
    return description.fFormat == kR8G8B8A8_UNORM && description.fTextureType == kImage2D &&
           description.fWidth > 0 && description.fHeight > 0 && description.fDepth <= 1 &&
           description.fArraySlices <= 1;
}

}  // namespace

MTextureManager::MTextureManager() = default;

MTextureManager::~MTextureManager() = default;

MTexture* MTextureManager::acquireTexture(const MString& textureName,
                                          const MTextureDescription& textureDesc,
                                          const void* pixelData, bool /*generateMipMaps*/) {
    if (host::faultEnabled(host::fault::kTextureAcquire) || !isSupported(textureDesc)) {
        return nullptr;
    }
    MTextureDescription description = textureDesc;
    description.fDepth = 1;
    description.fArraySlices = 1;
    description.fMipmaps = 1;
    description.fBytesPerRow = description.fWidth * 4;
    description.fBytesPerSlice = description.fBytesPerRow * description.fHeight;
    MTexture* texture = host::TextureAccess::make(textureName, description);
    if (pixelData != nullptr) {
        std::vector<std::uint8_t>& pixels = host::TextureAccess::pixels(*texture);
        std::memcpy(pixels.data(), pixelData, pixels.size());
    }
    host::TextureRegistry::instance().add(texture);
    return texture;
}

void MTextureManager::releaseTexture(MTexture* texture) const {
    if (texture == nullptr) {
        return;
    }
    if (!host::TextureRegistry::instance().release(texture)) {
        std::cerr << "// Error: releaseTexture: texture " << static_cast<const void*>(texture)
                  << " is not live (released twice?)\n";
    }
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
