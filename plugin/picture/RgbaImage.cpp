#include "picture/RgbaImage.h"

#include "picture/FfmpegPointers.h"
#include "picture/HalfFloat.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstring>

namespace decode {
namespace {

// Converts the picture with the scaler to `format`, rows packed into `pixels`.
bool scaleTo(const AVFrame& picture, AVPixelFormat format, std::size_t bytesPerPixel,
             std::vector<std::uint8_t>& pixels) {
    const int width = picture.width;
    const int height = picture.height;
    // Bicubic, the ffmpeg tool's default; at the same size it decides only how chroma is filled
    // in, where the tool's decode of JPEG and other subsampled pictures is matched.
    const video::ScalerPtr scaler(
        sws_getContext(width, height, static_cast<AVPixelFormat>(picture.format), width, height,
                       format, SWS_BICUBIC, nullptr, nullptr, nullptr));
    const video::FramePtr target(av_frame_alloc());
    if (!scaler || !target) {
        return false;
    }
    // The scaler may write whole vector widths: it gets a frame of FFmpeg's padded layout, and
    // the rows are packed after.
    target->width = width;
    target->height = height;
    target->format = format;
    if (av_frame_get_buffer(target.get(), 0) < 0) {
        return false;
    }
    if (sws_scale(scaler.get(), picture.data, picture.linesize, 0, height, target->data,
                  target->linesize) != height) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    pixels.resize(rowBytes * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        std::memcpy(pixels.data() + rowBytes * static_cast<std::size_t>(row),
                    target->data[0] + static_cast<std::ptrdiff_t>(target->linesize[0]) * row,
                    rowBytes);
    }
    return true;
}

bool isUsable(const AVFrame& picture) {
    return picture.width > 0 && picture.height > 0 && picture.format >= 0;
}

float sampleAt(const AVFrame& picture, int plane, int row, int column) {
    float value = 0.0f;
    std::memcpy(&value,
                picture.data[plane] + static_cast<std::ptrdiff_t>(picture.linesize[plane]) * row +
                    static_cast<std::ptrdiff_t>(column) * 4,
                sizeof value);
    return value;
}

// 32-bit float planes in the machine's byte order, the way FFmpeg's EXR decoder gives them. The
// scaler would clip them to 0..1, so they are copied by hand.
bool copyFloatPlanes(const AVFrame& picture, std::vector<std::uint8_t>& pixels) {
    const auto format = static_cast<AVPixelFormat>(picture.format);
    // Planes of GBR(A): green 0, blue 1, red 2, alpha 3.
    int red = 2, green = 0, blue = 1, alpha = -1;
    if (format == AV_PIX_FMT_GBRAPF32) {
        alpha = 3;
    } else if (format == AV_PIX_FMT_GRAYF32) {
        red = green = blue = 0;
    } else if (format != AV_PIX_FMT_GBRPF32) {
        return false;
    }
    const int width = picture.width;
    pixels.resize(static_cast<std::size_t>(width) * picture.height * 8);
    auto* out = reinterpret_cast<std::uint16_t*>(pixels.data());
    for (int row = 0; row < picture.height; ++row) {
        for (int column = 0; column < width; ++column) {
            out[0] = video::toHalf(sampleAt(picture, red, row, column));
            out[1] = video::toHalf(sampleAt(picture, green, row, column));
            out[2] = video::toHalf(sampleAt(picture, blue, row, column));
            out[3] =
                alpha < 0 ? video::kHalfOne : video::toHalf(sampleAt(picture, alpha, row, column));
            out += 4;
        }
    }
    return true;
}

}  // namespace

SampleDepth sampleDepthOf(const AVFrame& picture) {
    return sampleDepthOf(static_cast<AVPixelFormat>(picture.format));
}

SampleDepth sampleDepthOf(AVPixelFormat format) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    if (descriptor == nullptr) {
        return SampleDepth::kEightBit;
    }
    if ((descriptor->flags & AV_PIX_FMT_FLAG_FLOAT) != 0) {
        return SampleDepth::kFloat;
    }
    for (int i = 0; i < descriptor->nb_components; ++i) {
        if (descriptor->comp[i].depth > 8) {
            return SampleDepth::kDeep;
        }
    }
    return SampleDepth::kEightBit;
}

bool convertToRgba8(const AVFrame& picture, RgbaImage& image) {
    image = RgbaImage{};
    if (!isUsable(picture) || !scaleTo(picture, AV_PIX_FMT_RGBA, 4, image.pixels)) {
        image = RgbaImage{};
        return false;
    }
    image.width = picture.width;
    image.height = picture.height;
    return true;
}

bool convertToRgbaHalf(const AVFrame& picture, RgbaImage& image) {
    image = RgbaImage{};
    if (!isUsable(picture)) {
        return false;
    }
    bool converted = copyFloatPlanes(picture, image.pixels);
    if (!converted) {
        // Integer samples of any depth, through 16 bits a channel.
        std::vector<std::uint8_t> deep;
        converted = scaleTo(picture, AV_PIX_FMT_RGBA64, 8, deep);
        if (converted) {
            image.pixels.resize(deep.size());
            const auto* in = reinterpret_cast<const std::uint16_t*>(deep.data());
            auto* out = reinterpret_cast<std::uint16_t*>(image.pixels.data());
            const std::array<std::uint16_t, 65536>& halves = video::halfOfSample16();
            for (std::size_t i = 0; i < deep.size() / 2; ++i) {
                out[i] = halves[in[i]];
            }
        }
    }
    if (!converted) {
        image = RgbaImage{};
        return false;
    }
    image.width = picture.width;
    image.height = picture.height;
    image.format = TexelFormat::kRgbaHalf;
    return true;
}

}  // namespace decode
