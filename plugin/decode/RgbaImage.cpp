#include "decode/RgbaImage.h"

#include "decode/FfmpegPointers.h"

#include <cstring>

namespace decode {

bool convertToRgba8(const AVFrame& picture, RgbaImage& image) {
    image = RgbaImage{};
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0 || picture.format < 0) {
        return false;
    }
    // Bicubic, the ffmpeg tool's default; at the same size it decides only how chroma is filled
    // in, where the tool's decode of JPEG and other subsampled pictures is matched.
    const video::ScalerPtr scaler(
        sws_getContext(width, height, static_cast<AVPixelFormat>(picture.format), width, height,
                       AV_PIX_FMT_RGBA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    const video::FramePtr target(av_frame_alloc());
    if (!scaler || !target) {
        return false;
    }
    // The scaler may write whole vector widths: it gets a frame of FFmpeg's padded layout, and
    // the rows are packed after.
    target->width = width;
    target->height = height;
    target->format = AV_PIX_FMT_RGBA;
    if (av_frame_get_buffer(target.get(), 0) < 0) {
        return false;
    }
    if (sws_scale(scaler.get(), picture.data, picture.linesize, 0, height, target->data,
                  target->linesize) != height) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    image.pixels.resize(rowBytes * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        std::memcpy(image.pixels.data() + rowBytes * static_cast<std::size_t>(row),
                    target->data[0] + static_cast<std::ptrdiff_t>(target->linesize[0]) * row,
                    rowBytes);
    }
    image.width = width;
    image.height = height;
    return true;
}

}  // namespace decode
