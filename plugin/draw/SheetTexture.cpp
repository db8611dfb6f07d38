#include "draw/SheetTexture.h"

#include "draw/PlaceholderCard.h"
#include "picture/CacheImage.h"

#include <maya/MViewport2Renderer.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using PixelBuffer = std::unique_ptr<unsigned char, FreeDeleter>;

MHWRender::MTextureManager* textureManager(bool initialize) {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer(initialize);
    return renderer ? renderer->getTextureManager() : nullptr;
}

bool sameShape(const LoadedMedium& a, const LoadedMedium& b) {
    return a.frameWidth == b.frameWidth && a.frameHeight == b.frameHeight &&
           av_cmp_q(a.pixelAspect, b.pixelAspect) == 0 && a.texelFormat == b.texelFormat;
}

}  // namespace

SheetTexture::~SheetTexture() {
    release();
}

bool SheetTexture::make(const LoadedMedium& medium, int divisor) {
    release();
    requested_ = medium;
    medium_ = medium;
    divisor_ = divisor;
    card_ = false;
    if (medium.frameWidth <= 0 || medium.frameHeight <= 0) {
        return false;
    }
    const PixelBuffer initial(static_cast<unsigned char*>(std::calloc(frameBytes(), 1)));
    return initial && acquire(initial.get());
}

bool SheetTexture::makeCard(const LoadedMedium& medium) {
    if (isCard() && sameShape(medium, requested_)) {
        return true;
    }
    release();
    requested_ = medium;
    medium_ = cardShape(medium);
    divisor_ = 1;
    card_ = true;
    return acquire(cardPixels(medium_.frameWidth, medium_.frameHeight).data());
}

bool SheetTexture::acquire(const unsigned char* initial) {
    MHWRender::MTextureDescription description;
    description.setToDefault2DTexture();
    description.fWidth =
        static_cast<unsigned int>(video::reducedSize(medium_.frameWidth, divisor_));
    description.fHeight =
        static_cast<unsigned int>(video::reducedSize(medium_.frameHeight, divisor_));
    const bool half = medium_.texelFormat == decode::TexelFormat::kRgbaHalf;
    description.fBytesPerRow =
        description.fWidth * static_cast<unsigned int>(decode::bytesPerTexel(medium_.texelFormat));
    description.fBytesPerSlice = description.fBytesPerRow * description.fHeight;
    // One level: the picture is shown about its own size, and a longer chain would have to
    // be generated again at every upload.
    description.fMipmaps = 1;
    // Half float keeps a float source's range, values past 0..1 included, for the host's colour
    // management to convert.
    description.fFormat = half ? MHWRender::kR16G16B16A16_FLOAT : MHWRender::kR8G8B8A8_UNORM;
    description.fTextureType = MHWRender::kImage2D;

    MHWRender::MTextureManager* manager = textureManager(true);
    if (!manager) {
        return false;
    }
    texture_ = manager->acquireTexture("", description, initial, false);
    if (texture_) {
        charge_ = video::BudgetCharge(nullptr, video::Spend::kTexture, frameBytes());
    }
    return texture_ != nullptr;
}

bool SheetTexture::upload(const void* pixels) {
    return texture_ && texture_->update(pixels, false, 0, nullptr) == MStatus::kSuccess;
}

bool SheetTexture::clear() {
    const PixelBuffer zeros(static_cast<unsigned char*>(std::calloc(frameBytes(), 1)));
    return zeros && upload(zeros.get());
}

void SheetTexture::release() {
    if (!texture_) {
        return;
    }
    // Without a renderer (it is gone at shutdown) its textures are gone with it.
    MHWRender::MTextureManager* manager = textureManager(false);
    if (manager) {
        manager->releaseTexture(texture_);
    }
    texture_ = nullptr;
    charge_.reset();
}

bool SheetTexture::madeFor(const LoadedMedium& medium, int divisor) const {
    return texture_ && !card_ && divisor == divisor_ && sameShape(medium, requested_);
}

size_t SheetTexture::frameBytes() const {
    return video::cacheImageBytes(medium_.frameWidth, medium_.frameHeight, divisor_) *
           decode::bytesPerTexel(medium_.texelFormat) / 4;
}
