// Turned-store benchmark: what showing phone video upright costs the caching worker per
// 1920 × 1080 frame, as ratios against the same work on a picture stored upright, measured in
// the same run:
//   - the cache image at Full of an 8-bit picture turned a quarter, against one not turned
//     (the turn is made while the picture is reduced to RGBA, in tiles);
//   - turning a 10-bit 4:2:0 picture a quarter before its conversion to RGB, against the cache
//     image of an unturned picture (the one extra pass such footage takes).
// Every figure is the median of many runs, since the machine may be shared.
// Usage: bench_turned_store [runs]   (default 200)

#include "picture/CacheImage.h"
#include "picture/PictureTurn.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double medianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<size_t>(runs / 2)];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<uint8_t>(i * 7);
    }
    std::vector<unsigned char> image(video::cacheImageBytes(kWidth, kHeight, 1));
    const video::Orientation asStored;
    const video::Orientation quarter{0, -1, 1, 0};

    const video::RgbPicture upright{rgb.data(), kWidth * 3, kWidth, kHeight, asStored};
    const video::RgbPicture turned{rgb.data(), kWidth * 3, kWidth, kHeight, quarter};
    const double reference =
        medianMilliseconds(runs, [&] { video::fillCacheImage(upright, 1, image.data()); });
    const double turnedStore =
        medianMilliseconds(runs, [&] { video::fillCacheImage(turned, 1, image.data()); });

    video::FramePtr tenBit(av_frame_alloc());
    video::FramePtr tenBitUpright(av_frame_alloc());
    tenBit->format = AV_PIX_FMT_YUV420P10LE;
    tenBit->width = kWidth;
    tenBit->height = kHeight;
    if (av_frame_get_buffer(tenBit.get(), 0) < 0) {
        std::fprintf(stderr, "no frame buffer\n");
        return 1;
    }
    const double tenBitTurn =
        medianMilliseconds(runs, [&] { video::turnUpright(*tenBit, quarter, *tenBitUpright); });

    std::printf(
        "1920x1080, median of %d runs; reference: cache image at Full, not turned: %.2f ms\n", runs,
        reference);
    std::printf("  cache image at Full, turned a quarter (8-bit):   %.2f x the reference\n",
                turnedStore / reference);
    std::printf("  10-bit 4:2:0 picture turned before conversion:  %.2f x the reference\n",
                tenBitTurn / reference);
    return 0;
}
