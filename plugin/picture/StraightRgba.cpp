#include "picture/StraightRgba.h"

#include "picture/CacheImage.h"
#include "picture/FrameMemory.h"
#include "picture/NoisePicture.h"
#include "picture/TrialOutcomes.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace video {
namespace {

constexpr size_t kTailGuardBytes = 4096;
constexpr unsigned char kTailGuardValue = 0xA5;

struct FreeDeleter {
    void operator()(unsigned char* buffer) const { std::free(buffer); }
};
using MallocBuffer = std::unique_ptr<unsigned char, FreeDeleter>;

MallocBuffer allocate(size_t bytes) {
    return MallocBuffer(allocateFrameBuffer(bytes));
}

}  // namespace

bool straightRgbaMatches(const AVFrame& like, ToolScaler& rgba, RgbConverter& rgb) {
    const FramePtr noise = noisePictureLike(like);
    if (!noise) {
        return false;
    }
    RgbPicture picture;
    if (!rgb.convert(*noise, picture) || !cacheImagePossible(picture, 1)) {
        return false;
    }
    const size_t bytes = cacheImageBytes(picture.width, picture.height, 1);
    const MallocBuffer expected = allocate(bytes);
    const MallocBuffer straight = allocate(bytes + kTailGuardBytes);
    if (!expected || !straight) {
        return false;
    }
    fillCacheImage(picture, 1, expected.get());
    std::memset(straight.get(), kTailGuardValue, bytes + kTailGuardBytes);
    if (!rgba.prepare(*noise) || !rgba.scale(*noise, straight.get(), picture.width * 4)) {
        return false;
    }
    const unsigned char* guard = straight.get() + bytes;
    for (size_t i = 0; i < kTailGuardBytes; ++i) {
        if (guard[i] != kTailGuardValue) {
            return false;
        }
    }
    return std::memcmp(expected.get(), straight.get(), bytes) == 0;
}

bool straightRgbaMatchesOnce(const AVFrame& like, ToolScaler& rgba, RgbConverter& rgb) {
    static TrialOutcomes<5> outcomes;
    return outcomes.of({like.format, like.width, like.height, like.colorspace, like.color_range},
                       [&] { return straightRgbaMatches(like, rgba, rgb); });
}

}  // namespace video
