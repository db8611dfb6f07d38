#include <maya/MImage.h>

#include "core/MainThreadOnly.h"
#include "image/ImageDecoder.h"
#include "image/PngWriter.h"

#include <algorithm>
#include <cstring>

MImage::MImage() = default;

MImage::~MImage() = default;

MStatus MImage::create(unsigned int width, unsigned int height, unsigned int channels,
                       MPixelType type) {
    HOST_MAIN_THREAD_ONLY();
    if (type != kByte || width == 0 || height == 0 || channels == 0 || channels > 4) {
        return MStatus::kFailure;
    }
    pixels_.assign(static_cast<std::size_t>(width) * height * channels, 0);
    width_ = width;
    height_ = height;
    channels_ = channels;
    type_ = kByte;
    return MStatus::kSuccess;
}

// Only 8-bit reading is available here.
MStatus MImage::readFromFile(MString pathname, MPixelType type) {
    HOST_MAIN_THREAD_ONLY();
    if (type != kByte) {
        return MStatus::kFailure;
    }
    release();
    host::RgbaPicture picture;
    if (!host::decodeImageFile(pathname.asChar(), picture)) {
        return MStatus::kFailure;
    }
    pixels_ = std::move(picture.pixels);
    width_ = static_cast<unsigned int>(picture.width);
    height_ = static_cast<unsigned int>(picture.height);
    channels_ = 4;
    type_ = kByte;
    // Decoders deliver the top row first; images keep the bottom row first.
    verticalFlip();
    return MStatus::kSuccess;
}

MStatus MImage::writeToFile(MString fileName, MString outputFormat) const {
    HOST_MAIN_THREAD_ONLY();
    MString format = outputFormat;
    if (format.toLowerCase() != "png") {
        return MStatus::kNotImplemented;
    }
    if (pixels_.empty() || channels_ != 4) {
        return MStatus::kInvalidParameter;
    }
    const bool written =
        host::writeRgbaPng(fileName.asChar(), pixels_.data(), static_cast<int>(width_),
                           static_cast<int>(height_), host::RowOrder::BottomFirst);
    return written ? MStatus::kSuccess : MStatus::kFailure;
}

MStatus MImage::getSize(unsigned int& width, unsigned int& height) const {
    HOST_MAIN_THREAD_ONLY();
    width = width_;
    height = height_;
    return pixels_.empty() ? MStatus::kFailure : MStatus::kSuccess;
}

MImage::MPixelType MImage::pixelType() const {
    HOST_MAIN_THREAD_ONLY();
    return type_;
}

unsigned char* MImage::pixels() const {
    HOST_MAIN_THREAD_ONLY();
    return pixels_.empty() ? nullptr : pixels_.data();
}

void MImage::setPixels(unsigned char* pixels, unsigned int width, unsigned int height) {
    HOST_MAIN_THREAD_ONLY();
    if (pixels == nullptr) {
        return;
    }
    if (channels_ == 0) {
        channels_ = 4;
        type_ = kByte;
    }
    width_ = width;
    height_ = height;
    const std::size_t size = static_cast<std::size_t>(width) * height * channels_;
    pixels_.assign(pixels, pixels + size);
}

unsigned int MImage::depth() const {
    HOST_MAIN_THREAD_ONLY();
    return channels_;
}

bool MImage::isRGBA() const {
    HOST_MAIN_THREAD_ONLY();
    return true;
}

void MImage::verticalFlip() {
    HOST_MAIN_THREAD_ONLY();
    if (pixels_.empty()) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * channels_;
    for (unsigned int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(pixels_.begin() + rowBytes * top, pixels_.begin() + rowBytes * (top + 1),
                         pixels_.begin() + rowBytes * bottom);
    }
}

MStatus MImage::release() {
    HOST_MAIN_THREAD_ONLY();
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
    channels_ = 0;
    type_ = kUnknown;
    return MStatus::kSuccess;
}
