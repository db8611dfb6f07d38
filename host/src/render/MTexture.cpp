#include <maya/MTextureManager.h>

#include <host/Faults.h>

#include "core/MainThreadOnly.h"
#include "render/MipChain.h"
#include "render/TextureAccess.h"

#include <cstring>

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

// The manager has checked the description: a 2D RGBA texture of a format this host draws, with
// a size and fMipmaps already resolved to the number of levels.
MTexture::MTexture(const MString& name, const MTextureDescription& description)
    : name_(name), description_(description), levels_(description.fMipmaps) {
    HOST_MAIN_THREAD_ONLY();
    levels_.front().assign(static_cast<std::size_t>(description.fWidth) * description.fHeight *
                               host::TextureAccess::bytesPerPixel(description.fFormat),
                           0);
}

MTexture::~MTexture() = default;

MStatus MTexture::update(const void* pixelData, bool generateMipMaps, unsigned int rowPitch,
                         MTextureUpdateRegion* region) {
    HOST_MAIN_THREAD_ONLY();
    if (host::faultEnabled(host::fault::kTextureUpdate)) {
        return MStatus::kFailure;
    }
    if (pixelData == nullptr) {
        return MStatus::kFailure;
    }
    MTextureUpdateRegion whole;
    whole.fXRangeMax = description_.fWidth;
    whole.fYRangeMax = description_.fHeight;
    const MTextureUpdateRegion& area = region != nullptr ? *region : whole;
    const unsigned int bytesPerPixel = host::TextureAccess::bytesPerPixel(description_.fFormat);
    if (area.fXRangeMin >= area.fXRangeMax || area.fYRangeMin >= area.fYRangeMax ||
        area.fXRangeMax > description_.fWidth || area.fYRangeMax > description_.fHeight) {
        return MStatus::kFailure;
    }
    const std::size_t rowBytes =
        static_cast<std::size_t>(area.fXRangeMax - area.fXRangeMin) * bytesPerPixel;
    const std::size_t targetPitch = static_cast<std::size_t>(description_.fWidth) * bytesPerPixel;
    const std::size_t sourcePitch = rowPitch == 0 ? targetPitch : rowPitch;
    if (sourcePitch < rowBytes) {
        return MStatus::kFailure;
    }
    const auto* source = static_cast<const std::uint8_t*>(pixelData);
    std::vector<std::uint8_t>& top = levels_.front();
    for (unsigned int row = area.fYRangeMin; row < area.fYRangeMax; ++row) {
        std::memcpy(top.data() + targetPitch * row + area.fXRangeMin * bytesPerPixel,
                    source + sourcePitch * (row - area.fYRangeMin), rowBytes);
    }
    if (generateMipMaps) {
        host::generateMipLevels(levels_, description_.fWidth, description_.fHeight,
                                host::TextureAccess::isHalfFloat(*this));
    }
    return MStatus::kSuccess;
}

// MImage keeps the bottom row first and this host's textures the top row first, so the rows
// are turned over for the image to show upright, as it does on Maya. Only 8-bit images into
// 8-bit textures: Maya does not say how it converts between formats.
MStatus MTexture::update(const MImage& image, bool generateMipMaps) {
    HOST_MAIN_THREAD_ONLY();
    constexpr unsigned int kBytesPerPixel = 4;
    if (description_.fFormat != kR8G8B8A8_UNORM) {
        return MStatus::kFailure;
    }
    unsigned int width = 0;
    unsigned int height = 0;
    if (image.pixelType() != MImage::kByte || image.depth() != kBytesPerPixel ||
        image.pixels() == nullptr || !image.getSize(width, height) ||
        width != description_.fWidth || height != description_.fHeight) {
        return MStatus::kFailure;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kBytesPerPixel;
    std::vector<std::uint8_t> topFirst(rowBytes * height);
    for (unsigned int row = 0; row < height; ++row) {
        std::memcpy(topFirst.data() + rowBytes * row,
                    image.pixels() + rowBytes * (height - 1 - row), rowBytes);
    }
    return update(topFirst.data(), generateMipMaps);
}

void MTexture::textureDescription(MTextureDescription& desc) const {
    HOST_MAIN_THREAD_ONLY();
    desc = description_;
}

const MString& MTexture::name() const {
    HOST_MAIN_THREAD_ONLY();
    return name_;
}

unsigned int MTexture::bytesPerPixel() const {
    HOST_MAIN_THREAD_ONLY();
    return host::TextureAccess::bytesPerPixel(description_.fFormat);
}

bool MTexture::hasAlpha() const {
    HOST_MAIN_THREAD_ONLY();
    return true;
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
