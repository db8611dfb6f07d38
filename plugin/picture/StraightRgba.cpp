#include "picture/StraightRgba.h"

#include "picture/CacheImage.h"
#include "picture/FrameMemory.h"
#include "picture/NoisePicture.h"

#include <array>
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
