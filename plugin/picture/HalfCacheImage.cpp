#include "picture/HalfCacheImage.h"

#include "picture/CacheImage.h"
#include "picture/HalfFloat.h"

#include <array>
#include <cmath>
#include <cstring>

namespace video {
namespace {

// The half nearest a value of 0..1. Rounded through a float first, a value just short of the
// midpoint between two halves can land on it and go the wrong way (65519 / 65535 would become
// 1.0), so the neighbours are weighed in double.
std::uint16_t nearestHalf(double value) {
    std::uint16_t best = toHalf(static_cast<float>(value));
    for (const int step : {-1, 1}) {
        const int candidate = best + step;
        if (candidate >= 0 && std::fabs(fromHalf(static_cast<std::uint16_t>(candidate)) - value) <
                                  std::fabs(fromHalf(best) - value)) {
            best = static_cast<std::uint16_t>(candidate);
        }
    }
    return best;
}

// The half of every 16-bit sample: one look-up per channel instead of a conversion.
const std::array<std::uint16_t, 65536>& halfOfSample() {
    static const std::array<std::uint16_t, 65536> table = [] {
        std::array<std::uint16_t, 65536> halves{};
        for (std::size_t value = 0; value < halves.size(); ++value) {
            halves[value] = nearestHalf(static_cast<double>(value) / 65535.0);
        }
        return halves;
    }();
    return table;
}

}  // namespace

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
    const std::array<std::uint16_t, 65536>& halves = halfOfSample();
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
