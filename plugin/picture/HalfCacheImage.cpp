#include "picture/HalfCacheImage.h"

#include "picture/CacheImage.h"
#include "picture/HalfFloat.h"

#include <array>
#include <cstring>

namespace video {

DeepRgbConverter::DeepRgbConverter(int width, int height)
    : width_(width),
      height_(height),
      rgb_(av_frame_alloc()),
      scaler_(width, height, AV_PIX_FMT_GBRP16) {
    if (rgb_) {
        rgb_->format = AV_PIX_FMT_GBRP16;
        rgb_->width = width;
        rgb_->height = height;
        // The scaler may write whole vector widths: the tool's filter frame layout has room.
        if (av_frame_get_buffer(rgb_.get(), 0) < 0 || rgb_->linesize[0] != rgb_->linesize[1] ||
            rgb_->linesize[0] != rgb_->linesize[2]) {
            rgb_.reset();
        }
    }
}

bool DeepRgbConverter::convert(const AVFrame& frame, DeepRgbPicture& picture) {
    if (!rgb_ || !scaler_.prepare(frame) || !scaler_.scale(frame, rgb_->data, rgb_->linesize)) {
        return false;
    }
    // Planes of GBR: green 0, blue 1, red 2.
    picture = DeepRgbPicture{rgb_->data[2], rgb_->data[0], rgb_->data[1], rgb_->linesize[0],
                             width_,        height_,       Orientation{}};
    return true;
}

void fillHalfCacheImage(const DeepRgbPicture& picture, int divisor, unsigned char* image) {
    const std::array<std::uint16_t, 65536>& halves = halfOfSample16();
    const Orientation& turn = picture.orientation;
    const int outWidth = reducedSize(turn.uprightWidth(picture.width, picture.height), divisor);
    const int outHeight = reducedSize(turn.uprightHeight(picture.width, picture.height), divisor);
    UprightWalk walk = uprightWalk(turn, picture.width, picture.height, 2, picture.linesize);
    walk.alongRow *= divisor;
    walk.downColumn *= divisor;
    auto sample = [&halves](const uint8_t* plane, ptrdiff_t offset) {
        std::uint16_t value = 0;
        std::memcpy(&value, plane + offset, sizeof value);
        return halves[value];
    };
    visitUpright(walk, outWidth, outHeight, turn.swapsAxes(), [&](int x, int y, ptrdiff_t offset) {
        const std::uint16_t out[4] = {sample(picture.red, offset), sample(picture.green, offset),
                                      sample(picture.blue, offset), kHalfOne};
        std::memcpy(image + (static_cast<size_t>(y) * outWidth + x) * 8, out, sizeof out);
    });
}

}  // namespace video
