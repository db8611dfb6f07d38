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

Rgba64Converter::Rgba64Converter(int width, int height)
    : width_(width),
      height_(height),
      rgba_(av_frame_alloc()),
      scaler_(width, height, AV_PIX_FMT_RGBA64) {
    if (rgba_) {
        rgba_->format = AV_PIX_FMT_RGBA64;
        rgba_->width = width;
        rgba_->height = height;
        // The scaler may write whole vector widths: the tool's filter frame layout has room.
        if (av_frame_get_buffer(rgba_.get(), 0) < 0) {
            rgba_.reset();
        }
    }
}

bool Rgba64Converter::convert(const AVFrame& frame, Rgba64Picture& picture) {
    if (!rgba_ || !scaler_.prepare(frame) ||
        !scaler_.scale(frame, rgba_->data[0], rgba_->linesize[0])) {
        return false;
    }
    picture = Rgba64Picture{rgba_->data[0], rgba_->linesize[0], width_, height_, Orientation{}};
    return true;
}

void fillHalfCacheImage(const Rgba64Picture& picture, int divisor, unsigned char* image) {
    const std::array<std::uint16_t, 65536>& halves = halfOfSample();
    const Orientation& turn = picture.orientation;
    const int outWidth = reducedSize(turn.uprightWidth(picture.width, picture.height), divisor);
    const int outHeight = reducedSize(turn.uprightHeight(picture.width, picture.height), divisor);
    UprightWalk walk = uprightWalk(turn, picture.width, picture.height, 8, picture.linesize);
    walk.alongRow *= divisor;
    walk.downColumn *= divisor;
    visitUpright(walk, outWidth, outHeight, turn.swapsAxes(), [&](int x, int y, ptrdiff_t offset) {
        std::uint16_t in[4];
        std::memcpy(in, picture.data + offset, sizeof in);
        const std::uint16_t out[4] = {halves[in[0]], halves[in[1]], halves[in[2]], kHalfOne};
        std::memcpy(image + (static_cast<size_t>(y) * outWidth + x) * 8, out, sizeof out);
    });
}

}  // namespace video
