#include "draw/GammaTable.h"

#include "picture/HalfFloat.h"

#include <cmath>
#include <cstring>
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

float halfGammaCorrected(float value, float gamma) {
    return value < 0.0f ? -powf(-value, gamma) : powf(value, gamma);
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
    halfTable_ = std::vector<std::uint16_t>();
}

bool GammaTable::builtFor(float gamma) const {
    return static_cast<double>(gamma) == gamma_;
}

const std::vector<std::uint16_t>& GammaTable::halfTable() {
    if (halfTable_.empty()) {
        halfTable_.resize(65536);
        const auto gamma = static_cast<float>(gamma_);
        for (std::size_t i = 0; i < halfTable_.size(); ++i) {
            const float value = video::fromHalf(static_cast<std::uint16_t>(i));
            halfTable_[i] = video::toHalf(halfGammaCorrected(value, gamma));
        }
    }
    return halfTable_;
}

unsigned char* GammaTable::corrected(size_t bytes) {
    if (corrected_.size() != bytes) {
        charge_.reset();
        try {
            // Nothing of the former size is worth copying over.
            corrected_ = std::vector<unsigned char>(bytes);
            charge_ = video::BudgetCharge(nullptr, video::Spend::kTexture, bytes);
        } catch (const std::bad_alloc&) {
            corrected_ = std::vector<unsigned char>();
            return nullptr;
        }
    }
    return corrected_.data();
}

const unsigned char* GammaTable::apply(const unsigned char* pixels, size_t bytes,
                                       decode::TexelFormat format) {
    if (gamma_ == 1.0) {
        // Not kept while unused: at 4K it is a frame's worth of memory.
        corrected_ = std::vector<unsigned char>();
        charge_.reset();
        return pixels;
    }
    unsigned char* out = corrected(bytes);
    if (out == nullptr) {
        // Without memory for it the frame is shown uncorrected.
        return pixels;
    }
    if (format == decode::TexelFormat::kRgbaHalf) {
        const std::vector<std::uint16_t>& table = halfTable();
        for (size_t offset = 0; offset + 8 <= bytes; offset += 8) {
            std::uint16_t texel[4];
            std::memcpy(texel, pixels + offset, sizeof texel);
            for (int channel = 0; channel < 3; ++channel) {
                texel[channel] = table[texel[channel]];
            }
            std::memcpy(out + offset, texel, sizeof texel);
        }
        return out;
    }
    for (size_t offset = 0; offset + 4 <= bytes; offset += 4) {
        out[offset] = table_[pixels[offset]];
        out[offset + 1] = table_[pixels[offset + 1]];
        out[offset + 2] = table_[pixels[offset + 2]];
        out[offset + 3] = pixels[offset + 3];
    }
    return out;
}
