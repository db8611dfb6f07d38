#include "picture/ToolScaler.h"

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

// The plain format the scaler itself turns a full-range (JPEG) format into.
AVPixelFormat plainFormatOf(AVPixelFormat format) {
    switch (format) {
        case AV_PIX_FMT_YUVJ420P:
            return AV_PIX_FMT_YUV420P;
        case AV_PIX_FMT_YUVJ411P:
            return AV_PIX_FMT_YUV411P;
        case AV_PIX_FMT_YUVJ422P:
            return AV_PIX_FMT_YUV422P;
        case AV_PIX_FMT_YUVJ444P:
            return AV_PIX_FMT_YUV444P;
        case AV_PIX_FMT_YUVJ440P:
            return AV_PIX_FMT_YUV440P;
        default:
            return format;
    }
}

}  // namespace

ToolScaler::ToolScaler(int width, int height, AVPixelFormat target)
    : width_(width), height_(height), target_(target) {}

bool ToolScaler::prepare(const AVFrame& frame) {
    if (!scaler_ || frame.width != sourceWidth_ || frame.height != sourceHeight_ ||
        frame.format != sourceFormat_) {
        scaler_.reset();
        appliedColorspace_ = -1;
        appliedRange_ = -1;
        if (frame.width <= 0 || frame.height <= 0 || frame.format < 0) {
            return false;
        }
        const auto format = static_cast<AVPixelFormat>(frame.format);
        const AVPixelFormat plain = plainFormatOf(format);
        fullRangeFormat_ = plain != format;
        scaler_.reset(sws_getContext(frame.width, frame.height, plain, width_, height_, target_,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr));
        sourceWidth_ = frame.width;
        sourceHeight_ = frame.height;
        sourceFormat_ = frame.format;
    }
    if (!scaler_) {
        return false;
    }
    applyColourDetails(frame);
    return true;
}

bool ToolScaler::scale(const AVFrame& frame, uint8_t* target, int linesize) {
    uint8_t* planes[4] = {target, nullptr, nullptr, nullptr};
    const int linesizes[4] = {linesize, 0, 0, 0};
    return sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, planes,
                     linesizes) > 0;
}

bool ToolScaler::scale(const AVFrame& frame, uint8_t* const planes[], const int linesizes[]) {
    return sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, planes,
                     linesizes) > 0;
}

void ToolScaler::applyColourDetails(const AVFrame& frame) {
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
    if (fullRangeFormat_) {
        sourceFull = 1;
    }
    if (frame.color_range != AVCOL_RANGE_UNSPECIFIED) {
        sourceFull = frame.color_range == AVCOL_RANGE_JPEG;
    }
    sws_setColorspaceDetails(scaler_.get(), coefficients, sourceFull, coefficients, destinationFull,
                             brightness, contrast, saturation);
    appliedColorspace_ = frame.colorspace;
    appliedRange_ = frame.color_range;
}

}  // namespace video
