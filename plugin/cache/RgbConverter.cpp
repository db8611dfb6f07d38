#include "cache/RgbConverter.h"

namespace video {
namespace {

// The coefficients the ffmpeg tool's scale filter picks for a frame's declared colour space:
// the BT.601 ones for "unspecified" and anything it does not handle.
const int* coefficientsFor(AVColorSpace colorspace) {
    int space = colorspace;
    if (space < 1 || space > 10 || space == 8) {
        space = AVCOL_SPC_BT470BG;
    }
    return sws_getCoefficients(space);
}

}  // namespace

RgbConverter::RgbConverter(int width, int height)
    : width_(width), height_(height), rgb_(av_frame_alloc()) {
    if (rgb_) {
        rgb_->format = AV_PIX_FMT_RGB24;
        rgb_->width = width;
        rgb_->height = height;
        // Same buffer layout as the filter frames of the ffmpeg tool.
        if (av_frame_get_buffer(rgb_.get(), 0) < 0) {
            rgb_.reset();
        }
    }
}

bool RgbConverter::convert(const AVFrame& frame, RgbPicture& picture) {
    if (!rgb_ || !prepareScaler(frame)) {
        return false;
    }
    applyColourDetails(frame);
    int rows = sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, rgb_->data,
                         rgb_->linesize);
    if (rows <= 0) {
        return false;
    }
    picture = RgbPicture{rgb_->data[0], rgb_->linesize[0], width_, height_, Orientation{}};
    return true;
}

bool RgbConverter::prepareScaler(const AVFrame& frame) {
    if (scaler_ && frame.width == sourceWidth_ && frame.height == sourceHeight_ &&
        frame.format == sourceFormat_) {
        return true;
    }
    scaler_.reset();
    appliedColorspace_ = -1;
    appliedRange_ = -1;
    if (frame.width <= 0 || frame.height <= 0 || frame.format < 0) {
        return false;
    }
    scaler_.reset(sws_getContext(frame.width, frame.height,
                                 static_cast<AVPixelFormat>(frame.format), width_, height_,
                                 AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr));
    sourceWidth_ = frame.width;
    sourceHeight_ = frame.height;
    sourceFormat_ = frame.format;
    return scaler_ != nullptr;
}

void RgbConverter::applyColourDetails(const AVFrame& frame) {
    if (frame.colorspace == appliedColorspace_ && frame.color_range == appliedRange_) {
        return;
    }
    int* inverseTable = nullptr;
    int* table = nullptr;
    int sourceFull = 0;
    int destinationFull = 0;
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    if (sws_getColorspaceDetails(scaler_.get(), &inverseTable, &sourceFull, &table,
                                 &destinationFull, &brightness, &contrast, &saturation) < 0) {
        return;
    }
    const int* coefficients = coefficientsFor(frame.colorspace);
    if (frame.color_range != AVCOL_RANGE_UNSPECIFIED) {
        sourceFull = frame.color_range == AVCOL_RANGE_JPEG;
    }
    sws_setColorspaceDetails(scaler_.get(), coefficients, sourceFull, coefficients, destinationFull,
                             brightness, contrast, saturation);
    appliedColorspace_ = frame.colorspace;
    appliedRange_ = frame.color_range;
}

}  // namespace video
