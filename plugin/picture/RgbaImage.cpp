#include "picture/RgbaImage.h"

#include "picture/FfmpegPointers.h"
#include "picture/FrameMemory.h"
#include "picture/HalfFloat.h"
#include "picture/NoisePicture.h"
#include "picture/TrialOutcomes.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstdlib>
#include <cstring>
#include <memory>

namespace decode {
namespace {

constexpr std::size_t kGuardBytes = 4096;
constexpr unsigned char kGuardValue = 0xA5;

struct FreeDeleter {
    void operator()(unsigned char* buffer) const { std::free(buffer); }
};

// Bicubic, the ffmpeg tool's default; at the same size it decides only how chroma is filled in,
// where the tool's decode of JPEG and other subsampled pictures is matched.
video::ScalerPtr scalerFor(const AVFrame& picture, AVPixelFormat format) {
    return video::ScalerPtr(sws_getContext(
        picture.width, picture.height, static_cast<AVPixelFormat>(picture.format), picture.width,
        picture.height, format, SWS_BICUBIC, nullptr, nullptr, nullptr));
}

// The picture converted to `format` in a frame of FFmpeg's padded layout, as the tool's are: the
// scaler may write whole vector widths past a row's end. Null when it cannot be converted.
video::FramePtr scalePadded(const AVFrame& picture, AVPixelFormat format) {
    const video::ScalerPtr scaler = scalerFor(picture, format);
    video::FramePtr target(av_frame_alloc());
    if (!scaler || !target) {
        return nullptr;
    }
    target->width = picture.width;
    target->height = picture.height;
    target->format = format;
    if (av_frame_get_buffer(target.get(), 0) < 0 ||
        sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, target->data,
                  target->linesize) != picture.height) {
        return nullptr;
    }
    return target;
}

// The picture converted to 8-bit RGBA straight into packed rows.
bool scalePacked(const AVFrame& picture, unsigned char* pixels) {
    const video::ScalerPtr scaler = scalerFor(picture, AV_PIX_FMT_RGBA);
    uint8_t* planes[4] = {pixels, nullptr, nullptr, nullptr};
    const int linesizes[4] = {picture.width * 4, 0, 0, 0};
    return scaler && sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height,
                               planes, linesizes) == picture.height;
}

void packRows(const AVFrame& padded, std::size_t rowBytes, unsigned char* pixels) {
    for (int row = 0; row < padded.height; ++row) {
        std::memcpy(pixels + rowBytes * static_cast<std::size_t>(row),
                    padded.data[0] + static_cast<std::ptrdiff_t>(padded.linesize[0]) * row,
                    rowBytes);
    }
}

// Whether converting pictures like `like` straight into packed rows gives the very bytes of the
// conversion through a padded frame, and writes nothing past the packed picture. It depends on
// the format, the size, the processor and the FFmpeg build (a row's end may be written in whole
// vectors, and unaligned rows may take other code), so it is tried on a noise picture of the same
// kind, in a buffer from allocateFrameBuffer as the cache's are.
bool packedMatchesPadded(const AVFrame& like) {
    const video::FramePtr noise = video::noisePictureLike(like);
    if (!noise) {
        return false;
    }
    const video::FramePtr padded = scalePadded(*noise, AV_PIX_FMT_RGBA);
    const std::size_t rowBytes = static_cast<std::size_t>(like.width) * 4;
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(like.height);
    const std::unique_ptr<unsigned char, FreeDeleter> expected(video::allocateFrameBuffer(bytes));
    const std::unique_ptr<unsigned char, FreeDeleter> packed(
        video::allocateFrameBuffer(bytes + kGuardBytes));
    if (!padded || !expected || !packed) {
        return false;
    }
    packRows(*padded, rowBytes, expected.get());
    std::memset(packed.get(), kGuardValue, bytes + kGuardBytes);
    if (!scalePacked(*noise, packed.get())) {
        return false;
    }
    for (std::size_t i = bytes; i < bytes + kGuardBytes; ++i) {
        if (packed.get()[i] != kGuardValue) {
            return false;
        }
    }
    return std::memcmp(expected.get(), packed.get(), bytes) == 0;
}

// packedMatchesPadded, tried once per kind of picture in the process: the scaler gets nothing of
// a picture but its format and size.
bool packedMatchesPaddedOnce(const AVFrame& like) {
    static video::TrialOutcomes<3> outcomes;
    return outcomes.of({like.format, like.width, like.height},
                       [&] { return packedMatchesPadded(like); });
}

bool isUsable(const AVFrame& picture) {
    return picture.width > 0 && picture.height > 0 && picture.format >= 0;
}

// 32-bit float planes in the machine's byte order, the way FFmpeg's EXR decoder gives them. The
// scaler would clip them to 0..1, so they are copied by hand.
bool copyFloatPlanes(const AVFrame& picture, unsigned char* pixels) {
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
    const auto rowOf = [&](int plane, int row) -> const unsigned char* {
        return plane < 0 ? nullptr
                         : picture.data[plane] +
                               static_cast<std::ptrdiff_t>(picture.linesize[plane]) * row;
    };
    auto* out = reinterpret_cast<std::uint16_t*>(pixels);
    for (int row = 0; row < picture.height; ++row) {
        video::halfRgbaRow(rowOf(red, row), rowOf(green, row), rowOf(blue, row), rowOf(alpha, row),
                           picture.width, out);
        out += static_cast<std::size_t>(picture.width) * 4;
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

bool writeRgba8(const AVFrame& picture, unsigned char* pixels) {
    if (!isUsable(picture)) {
        return false;
    }
    if (packedMatchesPaddedOnce(picture)) {
        return scalePacked(picture, pixels);
    }
    const video::FramePtr padded = scalePadded(picture, AV_PIX_FMT_RGBA);
    if (!padded) {
        return false;
    }
    packRows(*padded, static_cast<std::size_t>(picture.width) * 4, pixels);
    return true;
}

bool writeRgbaHalf(const AVFrame& picture, unsigned char* pixels) {
    if (!isUsable(picture)) {
        return false;
    }
    if (copyFloatPlanes(picture, pixels)) {
        return true;
    }
    // Integer samples of any depth, through 16 bits a channel.
    const video::FramePtr deep = scalePadded(picture, AV_PIX_FMT_RGBA64);
    if (!deep) {
        return false;
    }
    const std::array<std::uint16_t, 65536>& halves = video::halfOfSample16();
    const std::size_t samples = static_cast<std::size_t>(picture.width) * 4;
    auto* out = reinterpret_cast<std::uint16_t*>(pixels);
    for (int row = 0; row < picture.height; ++row) {
        const auto* in = reinterpret_cast<const std::uint16_t*>(
            deep->data[0] + static_cast<std::ptrdiff_t>(deep->linesize[0]) * row);
        for (std::size_t i = 0; i < samples; ++i) {
            out[i] = halves[in[i]];
        }
        out += samples;
    }
    return true;
}

}  // namespace decode
