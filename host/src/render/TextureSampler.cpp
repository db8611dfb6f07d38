#include "render/TextureSampler.h"

#include "render/HalfFloat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host {
namespace {

using MHWRender::MBlendState;

int addressTexel(int index, int size, bool wrap) {
    return wrap ? ((index % size) + size) % size : std::clamp(index, 0, size - 1);
}

Colour fetch(const TextureView& texture, int column, int rowFromBottom, bool wrap) {
    const int x = addressTexel(column, texture.width, wrap);
    const int y = addressTexel(rowFromBottom, texture.height, wrap);
    const int row = texture.height - 1 - y;
    if (texture.halfFloat) {
        std::uint16_t texel[4];
        std::memcpy(texel, texture.pixels + (static_cast<std::size_t>(row) * texture.width + x) * 8,
                    sizeof texel);
        return Colour{fromHalf(texel[0]), fromHalf(texel[1]), fromHalf(texel[2]),
                      fromHalf(texel[3])};
    }
    const std::uint8_t* texel =
        texture.pixels + (static_cast<std::size_t>(row) * texture.width + x) * 4;
    return Colour{texel[0] / 255.0f, texel[1] / 255.0f, texel[2] / 255.0f, texel[3] / 255.0f};
}

Colour mix(const Colour& a, const Colour& b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                  a.a + (b.a - a.a) * t};
}

}  // namespace

Colour sampleTexture(const TextureView& texture, double u, double v, bool linear, bool wrap) {
    if (texture.pixels == nullptr) {
        return Colour{};
    }
    const double x = u * texture.width;
    const double y = v * texture.height;
    if (!linear) {
        return fetch(texture, static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)),
                     wrap);
    }
    const double left = std::floor(x - 0.5);
    const double bottom = std::floor(y - 0.5);
    const auto fx = static_cast<float>(x - 0.5 - left);
    const auto fy = static_cast<float>(y - 0.5 - bottom);
    const int x0 = static_cast<int>(left);
    const int y0 = static_cast<int>(bottom);
    const Colour lower = mix(fetch(texture, x0, y0, wrap), fetch(texture, x0 + 1, y0, wrap), fx);
    const Colour upper =
        mix(fetch(texture, x0, y0 + 1, wrap), fetch(texture, x0 + 1, y0 + 1, wrap), fx);
    return mix(lower, upper, fy);
}

Colour sampleMipmapped(const std::vector<TextureView>& levels, double lod, double u, double v,
                       bool linear, bool wrap) {
    const int last = static_cast<int>(levels.size()) - 1;
    if (!(lod > 0.0) || last == 0) {
        return sampleTexture(levels.front(), u, v, linear, wrap);
    }
    lod = std::min(lod, static_cast<double>(last));
    if (!linear) {
        const int nearest = std::min(last, static_cast<int>(std::floor(lod + 0.5)));
        return sampleTexture(levels[nearest], u, v, false, wrap);
    }
    const int finer = std::min(last, static_cast<int>(std::floor(lod)));
    const int coarser = std::min(last, finer + 1);
    const auto blend = static_cast<float>(std::min(1.0, lod - finer));
    return mix(sampleTexture(levels[finer], u, v, true, wrap),
               sampleTexture(levels[coarser], u, v, true, wrap), blend);
}

Colour applyChannelMask(const Colour& texel, MBlendState::ChannelMask mask) {
    switch (mask) {
        case MBlendState::kRGBChannels:
            return Colour{texel.r, texel.g, texel.b, 1.0f};
        case MBlendState::kAlphaChannel:
            return Colour{0.0f, 0.0f, 0.0f, texel.a};
        default:
            return texel;
    }
}

}  // namespace host
