#pragma once

#include <maya/MTextureManager.h>

#include <cstdint>
#include <vector>

namespace host {

// The host's side of a texture: its making, storage and deletion.
struct TextureAccess {
    // The levels are allocated from the description's fMipmaps: the first zero-filled, the
    // lower ones left empty until generated.
    static MHWRender::MTexture* make(const MString& name,
                                     const MHWRender::MTextureDescription& description) {
        return new MHWRender::MTexture(name, description);
    }
    static void destroy(MHWRender::MTexture* texture) { delete texture; }
    static std::vector<std::vector<std::uint8_t>>& levels(MHWRender::MTexture& texture) {
        return texture.levels_;
    }
    static const std::vector<std::vector<std::uint8_t>>& levels(
        const MHWRender::MTexture& texture) {
        return texture.levels_;
    }
    static const std::vector<std::uint8_t>& pixels(const MHWRender::MTexture& texture) {
        return texture.levels_.front();
    }
    static int width(const MHWRender::MTexture& texture) {
        return static_cast<int>(texture.description_.fWidth);
    }
    static int height(const MHWRender::MTexture& texture) {
        return static_cast<int>(texture.description_.fHeight);
    }
    static bool isHalfFloat(const MHWRender::MTexture& texture) {
        return texture.description_.fFormat == MHWRender::kR16G16B16A16_FLOAT;
    }
    // Bytes of a texel of the formats this host draws, 0 for the others.
    static unsigned int bytesPerPixel(MHWRender::MRasterFormat format) {
        switch (format) {
            case MHWRender::kR8G8B8A8_UNORM:
                return 4;
            case MHWRender::kR16G16B16A16_FLOAT:
                return 8;
            default:
                return 0;
        }
    }
};

}  // namespace host
