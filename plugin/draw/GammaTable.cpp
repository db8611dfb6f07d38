#include "draw/GammaTable.h"

#include <cmath>
#include <new>

namespace {

// NaN gives 0 and results past the byte range are clamped, so that any gamma the node can be
// given yields a defined table.
unsigned char gammaCorrected(int value, float gamma) {
    const float corrected = powf(static_cast<float>(value) / 255.0f, gamma) * 255.0f;
    if (!(corrected > 0.0f)) {
        return 0;
    }
    if (corrected >= 255.0f) {
        return 255;
    }
    return static_cast<unsigned char>(corrected);
}

}  // namespace

void GammaTable::setGamma(float gamma) {
    if (builtFor(gamma)) {
        return;
    }
    for (int i = 0; i < 256; ++i) {
        table_[i] = gammaCorrected(i, gamma);
    }
    gamma_ = gamma;
}

bool GammaTable::builtFor(float gamma) const {
    return static_cast<double>(gamma) == gamma_;
}

const unsigned char* GammaTable::apply(const unsigned char* pixels, size_t bytes) {
    if (gamma_ == 1.0) {
        // Not kept while unused: at 4K it is a frame's worth of memory.
        corrected_ = std::vector<unsigned char>();
        charge_.reset();
        return pixels;
    }
    if (corrected_.size() != bytes) {
        charge_.reset();
        try {
            // Nothing of the former size is worth copying over.
            corrected_ = std::vector<unsigned char>(bytes);
            charge_ = video::BudgetCharge(nullptr, video::Spend::kTexture, bytes);
        } catch (const std::bad_alloc&) {
            // Without memory for it the frame is shown uncorrected.
            corrected_ = std::vector<unsigned char>();
            return pixels;
        }
    }
    unsigned char* out = corrected_.data();
    for (size_t offset = 0; offset + 4 <= bytes; offset += 4) {
        out[offset] = table_[pixels[offset]];
        out[offset + 1] = table_[pixels[offset + 1]];
        out[offset + 2] = table_[pixels[offset + 2]];
        out[offset + 3] = pixels[offset + 3];
    }
    return out;
}
