#include "CachedFrames.h"

#include <sstream>

namespace decodetest {

std::vector<uint8_t> cacheImageOf(const video::CachePicture& picture, int divisor) {
    std::vector<uint8_t> image(picture.imageBytes(divisor));
    if (!picture.writeImage(divisor, image.data())) {
        return {};
    }
    image.resize(static_cast<size_t>(picture.width() / divisor) *
                 static_cast<size_t>(picture.height() / divisor) * 4);
    return image;
}

CachedFrames expectedFrames(const testsupport::ReferenceVideo& reference, int divisor) {
    CachedFrames frames;
    for (const std::vector<uint8_t>& rgb : reference.frames) {
        frames.push_back(
            testsupport::pointSampledRgba(rgb, reference.width, reference.height, divisor));
    }
    return frames;
}

std::string wrongFrames(const CachedFrames& frames, const CachedFrames& expected) {
    std::ostringstream wrong;
    int count = 0;
    for (size_t n = 0; n < frames.size(); ++n) {
        if (frames[n] != expected[n] && count++ < 12) {
            wrong << n << (frames[n].empty() ? "(missing) " : " ");
        }
    }
    if (count > 0) {
        wrong << "- " << count << " of " << frames.size() << " frames wrong";
    }
    return wrong.str();
}

}  // namespace decodetest
