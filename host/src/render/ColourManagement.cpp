#include "render/ColourManagement.h"

namespace host {

Colour DisplayConversion::apply(const Colour& texel) const {
    float rgb[3] = {texel.r, texel.g, texel.b};
    processor_->applyRGB(rgb);
    return Colour{rgb[0], rgb[1], rgb[2], texel.a};
}

}  // namespace host
