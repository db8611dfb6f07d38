#include "picture/CacheImageWriter.h"

#include "picture/CacheImage.h"
#include "picture/PictureTurn.h"
#include "picture/StraightRgba.h"

namespace video {
namespace {

// Below this, handing part of a picture to another thread gained nothing on a 2-core machine: at
// 1080p intra-only footage played a little slower.
constexpr long long kBandedPixels = 2560LL * 1440LL;

bool bandsPay(const AVFrame& frame) {
    return static_cast<long long>(frame.width) * frame.height >= kBandedPixels;
}

}  // namespace

CacheImageWriter::CacheImageWriter(int width, int height, const Orientation& turn)
    : width_(width), height_(height), turn_(turn) {}

bool CacheImageWriter::isFor(int width, int height, const Orientation& turn) const {
    return width == width_ && height == height_ && turn.columnOfU == turn_.columnOfU &&
           turn.columnOfV == turn_.columnOfV && turn.rowOfU == turn_.rowOfU &&
           turn.rowOfV == turn_.rowOfV;
}

size_t CacheImageWriter::imageBytes(int divisor, decode::TexelFormat format) const {
    return cacheImageBytes(uprightWidth(), uprightHeight(), divisor) *
           decode::bytesPerTexel(format) / 4;
}

bool CacheImageWriter::write(const AVFrame& frame, int divisor, unsigned char* image,
                             decode::TexelFormat format) {
    if (format == decode::TexelFormat::kRgbaHalf) {
        wroteStraight_ = false;
        return writeHalf(frame, divisor, image);
    }
    wroteStraight_ = divisor == 1 && turn_.isAsStored() && writeStraight(frame, image);
    if (wroteStraight_) {
        return true;
    }
    RgbPicture picture;
    if (!toRgb(frame, picture) || !cacheImagePossible(picture, divisor)) {
        return false;
    }
    fillCacheImage(picture, divisor, image);
    return true;
}

bool CacheImageWriter::writeStraight(const AVFrame& frame, unsigned char* image) {
    if (frame.width != width_ || frame.height != height_) {
        return false;
    }
    if (!straightScaler_) {
        straightScaler_ = std::make_unique<ToolScaler>(width_, height_, AV_PIX_FMT_RGBA);
    }
    if (!storedConverter_) {
        storedConverter_ = std::make_unique<RgbConverter>(width_, height_);
    }
    if (frame.format != trial_.format || frame.width != trial_.width ||
        frame.height != trial_.height || frame.colorspace != trial_.colorspace ||
        frame.color_range != trial_.range) {
        trial_ = StraightTrial{
            frame.format,      frame.width,
            frame.height,      frame.colorspace,
            frame.color_range, straightRgbaMatchesOnce(frame, *straightScaler_, *storedConverter_)};
    }
    if (!trial_.matches) {
        return false;
    }
    if (spare_ && bandsPay(frame)) {
        if (!bandedStraight_) {
            bandedStraight_ = std::make_unique<BandedScaler>(width_, height_, AV_PIX_FMT_RGBA);
        }
        if (bandedStraight_->scale(frame, image, width_ * 4, *spare_)) {
            ++writesInBands_;
            return true;
        }
    }
    return straightScaler_->prepare(frame) && straightScaler_->scale(frame, image, width_ * 4);
}

bool CacheImageWriter::toRgb(const AVFrame& frame, RgbPicture& picture) {
    if (!turn_.isAsStored() && turnsBeforeConversion(frame)) {
        if (!upright_) {
            upright_.reset(av_frame_alloc());
        }
        if (!uprightConverter_) {
            uprightConverter_ = std::make_unique<RgbConverter>(uprightWidth(), uprightHeight());
        }
        return upright_ && turnUpright(frame, turn_, *upright_) &&
               uprightConverter_->convert(*upright_, picture);
    }
    if (!storedConverter_) {
        storedConverter_ = std::make_unique<RgbConverter>(width_, height_);
    }
    const bool banded = spare_ && bandsPay(frame);
    if (!storedConverter_->convert(frame, picture, banded ? spare_ : nullptr)) {
        return false;
    }
    writesInBands_ += storedConverter_->convertedInBands() ? 1 : 0;
    picture.orientation = turn_;
    return true;
}

bool CacheImageWriter::writeHalf(const AVFrame& frame, int divisor, unsigned char* image) {
    DeepRgbPicture picture;
    if (!(divisor == 1 || divisor == 2 || divisor == 4) || !toDeepRgb(frame, picture)) {
        return false;
    }
    fillHalfCacheImage(picture, divisor, image);
    return true;
}

// As toRgb: the pictures the tool turns before converting them are turned first, the others
// while they are reduced.
bool CacheImageWriter::toDeepRgb(const AVFrame& frame, DeepRgbPicture& picture) {
    if (!turn_.isAsStored() && turnsBeforeConversion(frame)) {
        if (!upright_) {
            upright_.reset(av_frame_alloc());
        }
        if (!uprightDeepConverter_) {
            uprightDeepConverter_ =
                std::make_unique<DeepRgbConverter>(uprightWidth(), uprightHeight());
        }
        return upright_ && turnUpright(frame, turn_, *upright_) &&
               uprightDeepConverter_->convert(*upright_, picture);
    }
    if (!storedDeepConverter_) {
        storedDeepConverter_ = std::make_unique<DeepRgbConverter>(width_, height_);
    }
    if (!storedDeepConverter_->convert(frame, picture)) {
        return false;
    }
    picture.orientation = turn_;
    return true;
}

}  // namespace video
