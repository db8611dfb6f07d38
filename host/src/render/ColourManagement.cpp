#include "render/ColourManagement.h"

#include <cmath>

namespace host {
namespace {

// The sRGB-encoded texture spaces and the linear spaces, under the names of Maya's legacy and
// OCIO v2 default configurations. ACEScg's primaries differ from sRGB's; its gamut conversion is
// not modelled, only its linear encoding.
const char* const kSrgbSpaces[] = {"sRGB", "sRGB Encoded Rec.709 (sRGB)"};
const char* const kLinearSpaces[] = {"Raw", "scene-linear Rec.709-sRGB", "ACEScg",
                                     "Linear Rec.709 (sRGB)"};

float encodeSrgb(float linear) {
    if (linear <= 0.0031308f) {
        return 12.92f * linear;
    }
    return 1.055f * std::pow(linear, 1.0f / 2.4f) - 0.055f;
}

}  // namespace

DisplayTransform displayTransformFor(const MString& inputColorSpace) {
    for (const char* srgb : kSrgbSpaces) {
        if (inputColorSpace == srgb) {
            return DisplayTransform::Unchanged;
        }
    }
    for (const char* linear : kLinearSpaces) {
        if (inputColorSpace == linear) {
            return DisplayTransform::EncodeSrgb;
        }
    }
    return DisplayTransform::None;
}

Colour toDisplay(const Colour& texel, DisplayTransform transform) {
    if (transform != DisplayTransform::EncodeSrgb) {
        return texel;
    }
    return Colour{encodeSrgb(texel.r), encodeSrgb(texel.g), encodeSrgb(texel.b), texel.a};
}

}  // namespace host
