#pragma once

#include <maya/MTextureManager.h>

#include <cstdint>
#include <vector>

namespace host {

// The host's side of a texture: its storage.
struct TextureAccess {
    static MHWRender::MTexture* make(const MString& name,
                                     const MHWRender::MTextureDescription& description) {
        return new MHWRender::MTexture(name, description);
    }
    static std::vector<std::uint8_t>& pixels(MHWRender::MTexture& texture) {
        return texture.pixels_;
    }
    static const std::vector<std::uint8_t>& pixels(const MHWRender::MTexture& texture) {
        return texture.pixels_;
    }
    static int width(const MHWRender::MTexture& texture) {
        return static_cast<int>(texture.description_.fWidth);
    }
    static int height(const MHWRender::MTexture& texture) {
        return static_cast<int>(texture.description_.fHeight);
    }
    static void freePixels(MHWRender::MTexture& texture) {
        std::vector<std::uint8_t>().swap(texture.pixels_);
    }
};

}  // namespace host
