#pragma once

#include "cache/BudgetAccount.h"
#include "footage/LoadedMedium.h"

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
    // the first upload, so a frame that never comes leaves a blank picture. False, with no
    // texture, when it cannot be made (or the medium has no size).
    bool make(const LoadedMedium& medium, int divisor);
    // Replaces the texture by the placeholder card in the medium's shape (square for a medium
    // without a size), unless it is that card already. False, with no texture, when it cannot be
    // made.
    bool makeCard(const LoadedMedium& medium);
    bool isCard() const { return texture_ && card_; }
    // Uploads one whole frame of frameBytes() bytes, RGBA in the medium's texel format, rows
    // packed.
    bool upload(const void* pixels);
    // Uploads zeros: black, alpha 0.
    bool clear();
    void release();

    MHWRender::MTexture* get() const { return texture_; }
    bool madeFor(const LoadedMedium& medium, int divisor) const;
    // The medium the texture is made for (the card's size for a card).
    const LoadedMedium& medium() const { return medium_; }
    size_t frameBytes() const;
    // What the texture is counted for in the cache budget: its pixels, while it is made.
    size_t chargedBytes() const { return charge_.bytes(); }

private:
    // Acquires a texture of medium_ at 1/divisor_ of its size holding `initial`.
    bool acquire(const unsigned char* initial);

    MHWRender::MTexture* texture_ = nullptr;
    bool card_ = false;
    LoadedMedium medium_;
    int divisor_ = 1;
    // What make or makeCard was asked for, which the card's size replaces in medium_.
    LoadedMedium requested_;
    video::BudgetCharge charge_;
};
