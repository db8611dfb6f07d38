#include <maya/MTextureManager.h>

#include <host/Faults.h>

#include <cstring>

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

namespace {
constexpr unsigned int kBytesPerPixel = 4;
}

MTexture::MTexture(const MString& name, const MTextureDescription& description)
    : name_(name), description_(description) {
    pixels_.assign(
        static_cast<std::size_t>(description.fWidth) * description.fHeight * kBytesPerPixel, 0);
}

MTexture::~MTexture() = default;

MStatus MTexture::update(const void* pixelData, bool /*generateMipMaps*/, unsigned int rowPitch,
                         MTextureUpdateRegion* region) {
    if (host::faultEnabled(host::fault::kTextureUpdate)) {
        return MStatus::kFailure;
    }
    if (pixelData == nullptr || pixels_.empty()) {
        return MStatus::kInvalidParameter;
    }
    MTextureUpdateRegion whole;
    whole.fXRangeMax = description_.fWidth;
    whole.fYRangeMax = description_.fHeight;
    const MTextureUpdateRegion& area = region != nullptr ? *region : whole;
    if (area.fXRangeMin >= area.fXRangeMax || area.fYRangeMin >= area.fYRangeMax ||
        area.fXRangeMax > description_.fWidth || area.fYRangeMax > description_.fHeight) {
        return MStatus::kInvalidParameter;
    }
    const std::size_t rowBytes =
        static_cast<std::size_t>(area.fXRangeMax - area.fXRangeMin) * kBytesPerPixel;
    const std::size_t sourcePitch = rowPitch == 0 ? rowBytes : rowPitch;
    if (sourcePitch < rowBytes) {
        return MStatus::kInvalidParameter;
    }
    const std::size_t targetPitch = static_cast<std::size_t>(description_.fWidth) * kBytesPerPixel;
    const auto* source = static_cast<const std::uint8_t*>(pixelData);
    for (unsigned int row = area.fYRangeMin; row < area.fYRangeMax; ++row) {
        std::memcpy(pixels_.data() + targetPitch * row + area.fXRangeMin * kBytesPerPixel,
                    source + sourcePitch * (row - area.fYRangeMin), rowBytes);
    }
    return MStatus::kSuccess;
}

void MTexture::textureDescription(MTextureDescription& desc) const {
    desc = description_;
}

const MString& MTexture::name() const {
    return name_;
}

int MTexture::bytesPerPixel() const {
    return static_cast<int>(kBytesPerPixel);
}

bool MTexture::hasAlpha() const {
    return true;
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
