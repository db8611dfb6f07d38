#pragma once

#include "cache/BudgetAccount.h"
#include "draw/LoadedMedium.h"

#include <maya/MTextureManager.h>

#include <cstddef>

// One texture and the picture shape it is made for. It is released by its owner alone, when the
// owner makes another or goes away, and nothing else holds it.
class SheetTexture {
public:
    SheetTexture() = default;
    ~SheetTexture();
    SheetTexture(const SheetTexture&) = delete;
    SheetTexture& operator=(const SheetTexture&) = delete;

    // Replaces the texture by a blank one for the medium at 1/divisor of its size: zeros until
    // the first upload, so a frame that never comes leaves a blank picture. A medium without a
    // size gets a 10 × 10 placeholder. False, with no texture, when it cannot be made.
    bool make(const LoadedMedium& medium, int divisor);
    // Uploads one whole frame of frameBytes() bytes, RGBA, rows packed.
    bool upload(const void* pixels);
    // Uploads zeros: black, alpha 0.
    void clear();
    void release();

    MHWRender::MTexture* get() const { return texture_; }
    bool madeFor(const LoadedMedium& medium, int divisor) const;
    // The medium the texture is made for (the placeholder's when it was made for none).
    const LoadedMedium& medium() const { return medium_; }
    size_t frameBytes() const;
    // What the texture is counted for in the cache budget: its pixels, while it is made.
    size_t chargedBytes() const { return charge_.bytes(); }

private:
    MHWRender::MTexture* texture_ = nullptr;
    LoadedMedium medium_;
    int divisor_ = 1;
    // What make was asked for, which the placeholder replaces in medium_.
    LoadedMedium requested_;
    video::BudgetCharge charge_;
};
