#pragma once

#include "render/TextureSampler.h"

#include <OpenColorIO/OpenColorIO.h>

namespace host {

// How the colour-managed viewport shows texels of one input space: converted on float values
// from the input space to the rendering space (skipped for a data space such as Raw, whose
// values are taken as rendering-space values) and through the configuration's default view of
// its default display. Alpha is left as it is.
class DisplayConversion {
public:
    explicit DisplayConversion(OCIO_NAMESPACE::ConstCPUProcessorRcPtr processor)
        : processor_(std::move(processor)) {}

    Colour apply(const Colour& texel) const;

private:
    OCIO_NAMESPACE::ConstCPUProcessorRcPtr processor_;
};

}  // namespace host
