#include "picture/RgbConverter.h"

namespace video {

RgbConverter::RgbConverter(int width, int height)
    : width_(width),
      height_(height),
      rgb_(av_frame_alloc()),
      scaler_(width, height, AV_PIX_FMT_RGB24) {
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

bool RgbConverter::convert(const AVFrame& frame, RgbPicture& picture, SpareThreads* threads) {
    if (!rgb_) {
        return false;
    }
    if (threads && !banded_) {
        banded_ = std::make_unique<BandedScaler>(width_, height_, AV_PIX_FMT_RGB24);
    }
    inBands_ = threads && banded_->scale(frame, rgb_->data[0], rgb_->linesize[0], *threads);
    if (!inBands_ &&
        (!scaler_.prepare(frame) || !scaler_.scale(frame, rgb_->data[0], rgb_->linesize[0]))) {
        return false;
    }
    picture = RgbPicture{rgb_->data[0], rgb_->linesize[0], width_, height_, Orientation{}};
    return true;
}

}  // namespace video
