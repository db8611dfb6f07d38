#pragma once

#include "render/TextureSampler.h"

#include <maya/MString.h>

namespace host {

// How the colour-managed viewport, with Maya's default sRGB view, shows texels of an input
// colour space.
enum class DisplayTransform {
    None,        // no colour space named, or one this host does not model: shown as stored
    Unchanged,   // sRGB-encoded input under the sRGB view shows as stored
    EncodeSrgb,  // linear input is encoded with the sRGB transfer function
};

DisplayTransform displayTransformFor(const MString& inputColorSpace);

Colour toDisplay(const Colour& texel, DisplayTransform transform);

}  // namespace host
