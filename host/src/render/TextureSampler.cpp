#include "render/TextureSampler.h"

#include <algorithm>
#include <cmath>

namespace host {
namespace {

using MHWRender::MBlendState;
using MHWRender::MSamplerState;

// The texel index an out-of-range index reads; -1 for the (transparent black) border.
int addressTexel(int index, int size, MSamplerState::TextureAddress address) {
    switch (address) {
        case MSamplerState::kTexWrap:
            return ((index % size) + size) % size;
        case MSamplerState::kTexMirror: {
            const int period = 2 * size;
            const int folded = ((index % period) + period) % period;
            return folded < size ? folded : period - 1 - folded;
        }
        case MSamplerState::kTexBorder:
            return index < 0 || index >= size ? -1 : index;
        case MSamplerState::kTexMirrorOnce:
            return std::clamp(index < 0 ? -index - 1 : index, 0, size - 1);
        case MSamplerState::kTexClamp:
            break;
    }
    return std::clamp(index, 0, size - 1);
}

Colour fetch(const TextureView& texture, int column, int rowFromBottom,
             MSamplerState::TextureAddress address) {
    const int x = addressTexel(column, texture.width, address);
    const int y = addressTexel(rowFromBottom, texture.height, address);
    if (x < 0 || y < 0) {
        return Colour{};
    }
    const int row = texture.height - 1 - y;
    const std::uint8_t* texel =
        texture.pixels + (static_cast<std::size_t>(row) * texture.width + x) * 4;
    return Colour{texel[0] / 255.0f, texel[1] / 255.0f, texel[2] / 255.0f, texel[3] / 255.0f};
}

Colour mix(const Colour& a, const Colour& b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                  a.a + (b.a - a.a) * t};
}

}  // namespace

Colour sampleTexture(const TextureView& texture, double u, double v, bool linear,
                     MSamplerState::TextureAddress address) {
    const double x = u * texture.width;
    const double y = v * texture.height;
    if (!linear) {
        return fetch(texture, static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)),
                     address);
    }
    const double left = std::floor(x - 0.5);
    const double bottom = std::floor(y - 0.5);
    const auto fx = static_cast<float>(x - 0.5 - left);
    const auto fy = static_cast<float>(y - 0.5 - bottom);
    const int x0 = static_cast<int>(left);
    const int y0 = static_cast<int>(bottom);
    const Colour lower =
        mix(fetch(texture, x0, y0, address), fetch(texture, x0 + 1, y0, address), fx);
    const Colour upper =
        mix(fetch(texture, x0, y0 + 1, address), fetch(texture, x0 + 1, y0 + 1, address), fx);
    return mix(lower, upper, fy);
}

bool filterIsLinear(MSamplerState::TextureFilter filter, bool minifying) {
    const int bits = static_cast<int>(filter);
    const int anisotropic = 0x40;
    const int linearMinification = 0x10;
    const int linearMagnification = 0x04;
    if ((bits & anisotropic) != 0) {
        return true;
    }
    return (bits & (minifying ? linearMinification : linearMagnification)) != 0;
}

Colour applyChannelMask(const Colour& texel, MBlendState::ChannelMask mask) {
    const int bits = static_cast<int>(mask);
    const float alpha = (bits & MBlendState::kAlphaChannel) != 0 ? texel.a : 1.0f;
    switch (bits & ~MBlendState::kAlphaChannel) {
        case MBlendState::kRedChannel:
            return Colour{texel.r, texel.r, texel.r, alpha};
        case MBlendState::kGreenChannel:
            return Colour{texel.g, texel.g, texel.g, alpha};
        case MBlendState::kBlueChannel:
            return Colour{texel.b, texel.b, texel.b, alpha};
        default:
            break;
    }
    return Colour{(bits & MBlendState::kRedChannel) != 0 ? texel.r : 0.0f,
                  (bits & MBlendState::kGreenChannel) != 0 ? texel.g : 0.0f,
                  (bits & MBlendState::kBlueChannel) != 0 ? texel.b : 0.0f, alpha};
}

}  // namespace host
