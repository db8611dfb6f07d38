#include "picture/NoisePicture.h"

extern "C" {
#include <libavutil/bswap.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace video {
namespace {

// Cheap, fixed-seed noise: the same picture every time.
class Noise {
public:
    uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }

private:
    uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

// Fills every plane with noise within the format's component depth; false for formats whose
// samples are not whole bytes or 16-bit words.
bool fillWithNoise(AVFrame& frame, const AVPixFmtDescriptor& format) {
    if (format.flags &
        (AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_FLOAT)) {
        return false;
    }
    Noise noise;
    const int depth = format.comp[0].depth;
    const bool words = depth > 8;
    const int shift = format.comp[0].shift;
    for (int plane = 0; plane < 4 && frame.data[plane]; ++plane) {
        if ((format.flags & AV_PIX_FMT_FLAG_PAL) && plane == 1) {
            for (int i = 0; i < AVPALETTE_SIZE; ++i) {
                frame.data[1][i] = static_cast<uint8_t>(noise.next());
            }
            continue;
        }
        const int rows = plane == 1 || plane == 2
                             ? AV_CEIL_RSHIFT(frame.height, format.log2_chroma_h)
                             : frame.height;
        for (int y = 0; y < rows; ++y) {
            uint8_t* row = frame.data[plane] + static_cast<ptrdiff_t>(y) * frame.linesize[plane];
            if (!words) {
                // Eight samples a step: a UHD picture's worth takes milliseconds, not tens.
                for (int x = 0; x < frame.linesize[plane]; x += 8) {
                    const uint64_t samples = noise.next();
                    std::memcpy(
                        row + x, &samples,
                        std::min<size_t>(8, static_cast<size_t>(frame.linesize[plane] - x)));
                }
                continue;
            }
            for (int x = 0; x + 1 < frame.linesize[plane]; x += 2) {
                uint16_t sample =
                    static_cast<uint16_t>((noise.next() & ((1u << depth) - 1)) << shift);
                if (format.flags & AV_PIX_FMT_FLAG_BE) {
                    sample = av_bswap16(sample);
                }
                std::memcpy(row + x, &sample, sizeof sample);
            }
        }
    }
    return true;
}

}  // namespace

FramePtr noisePictureLike(const AVFrame& like) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(like.format));
    FramePtr noise(av_frame_alloc());
    if (!format || !noise) {
        return nullptr;
    }
    noise->format = like.format;
    noise->width = like.width;
    noise->height = like.height;
    noise->colorspace = like.colorspace;
    noise->color_range = like.color_range;
    if (av_frame_get_buffer(noise.get(), 0) < 0 || !fillWithNoise(*noise, *format)) {
        return nullptr;
    }
    return noise;
}

}  // namespace video
