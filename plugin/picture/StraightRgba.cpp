#include "picture/StraightRgba.h"

#include "picture/CacheImage.h"

extern "C" {
#include <libavutil/bswap.h>
#include <libavutil/pixdesc.h>
}

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace video {
namespace {

constexpr size_t kGuardBytes = 4096;
constexpr unsigned char kGuardValue = 0xA5;

struct FreeDeleter {
    void operator()(unsigned char* buffer) const { std::free(buffer); }
};
using MallocBuffer = std::unique_ptr<unsigned char, FreeDeleter>;

MallocBuffer allocate(size_t bytes) {
    return MallocBuffer(static_cast<unsigned char*>(std::malloc(bytes)));
}

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
                for (int x = 0; x < frame.linesize[plane]; ++x) {
                    row[x] = static_cast<uint8_t>(noise.next());
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

bool straightRgbaMatches(const AVFrame& like, ToolScaler& rgba, RgbConverter& rgb) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(like.format));
    FramePtr noise(av_frame_alloc());
    if (!format || !noise) {
        return false;
    }
    noise->format = like.format;
    noise->width = like.width;
    noise->height = like.height;
    noise->colorspace = like.colorspace;
    noise->color_range = like.color_range;
    if (av_frame_get_buffer(noise.get(), 0) < 0 || !fillWithNoise(*noise, *format)) {
        return false;
    }
    RgbPicture picture;
    if (!rgb.convert(*noise, picture) || !cacheImagePossible(picture, 1)) {
        return false;
    }
    const size_t bytes = cacheImageBytes(picture.width, picture.height, 1);
    const MallocBuffer expected = allocate(bytes);
    const MallocBuffer straight = allocate(bytes + kGuardBytes);
    if (!expected || !straight) {
        return false;
    }
    fillCacheImage(picture, 1, expected.get());
    std::memset(straight.get(), kGuardValue, bytes + kGuardBytes);
    if (!rgba.prepare(*noise) || !rgba.scale(*noise, straight.get(), picture.width * 4)) {
        return false;
    }
    const unsigned char* guard = straight.get() + bytes;
    for (size_t i = 0; i < kGuardBytes; ++i) {
        if (guard[i] != kGuardValue) {
            return false;
        }
    }
    return std::memcmp(expected.get(), straight.get(), bytes) == 0;
}

bool straightRgbaMatchesOnce(const AVFrame& like, ToolScaler& rgba, RgbConverter& rgb) {
    using Kind = std::array<int, 5>;
    static std::mutex mutex;
    static std::map<Kind, bool> outcomes;
    const Kind kind{like.format, like.width, like.height, like.colorspace, like.color_range};
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const auto known = outcomes.find(kind);
        if (known != outcomes.end()) {
            return known->second;
        }
    }
    // Tried without the lock: decoders of other kinds go on meanwhile, and two of the same kind
    // trying at once come to the same outcome.
    const bool matches = straightRgbaMatches(like, rgba, rgb);
    const std::lock_guard<std::mutex> lock(mutex);
    outcomes[kind] = matches;
    return matches;
}

}  // namespace video
