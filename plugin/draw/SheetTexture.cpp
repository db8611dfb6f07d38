#include "draw/SheetTexture.h"

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
           av_cmp_q(a.pixelAspect, b.pixelAspect) == 0;
}

}  // namespace

SheetTexture::~SheetTexture() {
    release();
}

bool SheetTexture::make(const LoadedMedium& medium, int divisor) {
    release();
    requested_ = medium;
    medium_ = medium;
    if (medium_.frameWidth <= 0 || medium_.frameHeight <= 0) {
        medium_ = LoadedMedium{10, 10, AVRational{1, 1}, 0};
    }
    divisor_ = divisor;

    MHWRender::MTextureDescription description;
    description.setToDefault2DTexture();
    description.fWidth = static_cast<unsigned int>(video::reducedSize(medium_.frameWidth, divisor));
    description.fHeight =
        static_cast<unsigned int>(video::reducedSize(medium_.frameHeight, divisor));
    description.fBytesPerRow = description.fWidth * 4;
    description.fBytesPerSlice = description.fBytesPerRow * description.fHeight;
    // One level: the picture is shown about its own size, and a longer chain would have to
    // be generated again at every upload.
    description.fMipmaps = 1;
    description.fFormat = MHWRender::kR8G8B8A8_UNORM;
    description.fTextureType = MHWRender::kImage2D;

    const PixelBuffer initial(static_cast<unsigned char*>(std::calloc(frameBytes(), 1)));
    MHWRender::MTextureManager* manager = textureManager(true);
    if (!initial || !manager) {
        return false;
    }
    texture_ = manager->acquireTexture("", description, initial.get(), false);
    if (texture_) {
        charge_ = video::BudgetCharge(nullptr, video::Spend::kTexture, frameBytes());
    }
    return texture_ != nullptr;
}

bool SheetTexture::upload(const void* pixels) {
    return texture_ && texture_->update(pixels, false, 0, nullptr) == MStatus::kSuccess;
}

void SheetTexture::clear() {
    const PixelBuffer zeros(static_cast<unsigned char*>(std::calloc(frameBytes(), 1)));
    if (zeros) {
        upload(zeros.get());
    }
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
    return texture_ && divisor == divisor_ && sameShape(medium, requested_);
}

size_t SheetTexture::frameBytes() const {
    return video::cacheImageBytes(medium_.frameWidth, medium_.frameHeight, divisor_);
}
