#include <maya/MImage.h>

#include "image/ImageDecoder.h"
#include "image/PngWriter.h"

#include <algorithm>
#include <cstring>

MImage::MImage() = default;

MImage::~MImage() = default;

MStatus MImage::create(unsigned int width, unsigned int height, unsigned int channels,
                       MPixelType type) {
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
    width = width_;
    height = height_;
    return pixels_.empty() ? MStatus::kFailure : MStatus::kSuccess;
}

MImage::MPixelType MImage::pixelType() const {
    return type_;
}

unsigned char* MImage::pixels() const {
    return pixels_.empty() ? nullptr : pixels_.data();
}

void MImage::setPixels(unsigned char* pixels, unsigned int width, unsigned int height) {
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
    return channels_;
}

bool MImage::isRGBA() const {
    return true;
}

void MImage::verticalFlip() {
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
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
    channels_ = 0;
    type_ = kUnknown;
    return MStatus::kSuccess;
}
