#pragma once

#include "cache/BudgetAccount.h"
#include "picture/RgbaImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The gamma applied to a frame as it is uploaded, to red, green and blue, alpha as it is. 8-bit
// frames go through a table, entry i = trunc(powf(i / 255, gamma) × 255); half-float frames get
// the power of each value, negative values mirrored (-powf(-v, gamma)) so that they stay defined.
// Gamma 1 changes nothing and copies nothing.
class GammaTable {
public:
    // Builds the table for `gamma` unless it is built for it.
    void setGamma(float gamma);
    // Whether the table was built for exactly this gamma.
    bool builtFor(float gamma) const;

    // The frame to upload: `pixels` themselves at gamma 1, else a corrected copy held here
    // until the next call. The copy is skipped (pixels returned) when there is no memory for it.
    const unsigned char* apply(const unsigned char* pixels, size_t bytes,
                               decode::TexelFormat format = decode::TexelFormat::kRgba8);

private:
    // The corrected copy's buffer at `bytes`; null without memory for it.
    unsigned char* corrected(size_t bytes);
    // Every half value's power, made on the first half-float frame after a gamma change.
    const std::vector<std::uint16_t>& halfTable();

    unsigned char table_[256] = {};
    double gamma_ = -1.0;
    std::vector<std::uint16_t> halfTable_;
    // Reused from upload to upload, so the drawing thread does not allocate a frame each time.
    std::vector<unsigned char> corrected_;
    // The copy counted in the cache budget, with the texture it is uploaded into.
    video::BudgetCharge charge_;
};
