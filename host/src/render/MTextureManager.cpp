#include <maya/MTextureManager.h>

#include <host/Faults.h>

#include "core/MainThreadOnly.h"
#include "render/MipChain.h"
#include "render/TextureAccess.h"
#include "render/TextureRegistry.h"

#include <algorithm>
#include <cstring>
#include <iostream>

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

namespace {

// fBytesPerRow 0 means packed rows; a shorter row than the pixels need is refused. Of Maya's
// formats this host draws 8-bit and half-float RGBA only.
bool isSupported(const MTextureDescription& description) {
    const unsigned int bytesPerPixel = host::TextureAccess::bytesPerPixel(description.fFormat);
    return bytesPerPixel != 0 && description.fTextureType == kImage2D && description.fWidth > 0 &&
           description.fHeight > 0 && description.fDepth <= 1 && description.fArraySlices <= 1 &&
           (description.fBytesPerRow == 0 ||
            description.fBytesPerRow >= description.fWidth * bytesPerPixel);
}

// fMipmaps 0 is the whole chain. Maya does not say what a count past the whole chain makes;
// this host makes the whole chain.
unsigned int levelCount(const MTextureDescription& description) {
    const unsigned int whole = host::fullMipChainLength(description.fWidth, description.fHeight);
    return description.fMipmaps == 0 ? whole : std::min(description.fMipmaps, whole);
}

MTexture* makeTexture(const MString& name, const MTextureDescription& requested,
                      const void* pixelData, bool generateMipMaps) {
    if (!isSupported(requested)) {
        return nullptr;
    }
    MTextureDescription description = requested;
    description.fMipmaps = levelCount(requested);
    MTexture* texture = host::TextureAccess::make(name, description);
    if (pixelData != nullptr) {
        const unsigned int packedRow =
            description.fWidth * host::TextureAccess::bytesPerPixel(description.fFormat);
        const unsigned int pitch =
            description.fBytesPerRow == 0 ? packedRow : description.fBytesPerRow;
        std::vector<std::uint8_t>& top = host::TextureAccess::levels(*texture).front();
        const auto* source = static_cast<const std::uint8_t*>(pixelData);
        for (unsigned int row = 0; row < description.fHeight; ++row) {
            std::memcpy(top.data() + static_cast<std::size_t>(packedRow) * row,
                        source + static_cast<std::size_t>(pitch) * row, packedRow);
        }
    }
    if (generateMipMaps) {
        host::generateMipLevels(host::TextureAccess::levels(*texture), description.fWidth,
                                description.fHeight, description.fFormat == kR16G16B16A16_FLOAT);
    }
    return texture;
}

}  // namespace

MTextureManager::MTextureManager() = default;

MTextureManager::~MTextureManager() = default;

MTexture* MTextureManager::acquireTexture(const MString& textureName,
                                          const MTextureDescription& textureDesc,
                                          const void* pixelData, bool generateMipMaps) {
    HOST_MAIN_THREAD_ONLY();
    if (host::faultEnabled(host::fault::kTextureAcquire)) {
        return nullptr;
    }
    return host::TextureRegistry::instance().acquire(textureName, [&] {
        return makeTexture(textureName, textureDesc, pixelData, generateMipMaps);
    });
}

void MTextureManager::releaseTexture(MTexture* texture) const {
    HOST_MAIN_THREAD_ONLY();
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
