#include "picture/CacheImage.h"
#include "picture/Orientation.h"

extern "C" {
#include <libavutil/display.h>
}

#include <gtest/gtest.h>

#include <vector>

namespace {

using video::Orientation;
using video::orientationFromDisplayMatrix;

// The display matrix av_display_rotation_set makes for `degrees` (a picture the ffmpeg tool
// shows turned that far clockwise), then mirrored.
Orientation orientationFor(double degrees, bool hflip = false, bool vflip = false) {
    int32_t matrix[9];
    av_display_rotation_set(matrix, degrees);
    av_display_matrix_flip(matrix, hflip, vflip);
    return orientationFromDisplayMatrix(matrix);
}

// The picture 1 2 3 / 4 5 6 (red channel), turned as asked and read back row by row.
std::vector<int> shown(const Orientation& orientation, int& width) {
    const std::vector<uint8_t> rgb = {1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 5, 0, 0, 6, 0, 0};
    const video::RgbPicture picture{rgb.data(), 9, 3, 2, orientation};
    std::vector<unsigned char> rgba(video::cacheImageBytes(3, 2, 1));
    video::fillCacheImage(picture, 1, rgba.data());
    width = orientation.uprightWidth(3, 2);
    std::vector<int> reds;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        EXPECT_EQ(rgba[i + 3], 255);
        reds.push_back(rgba[i]);
    }
    return reds;
}

// Quarter and half turns show the picture upright; mirrors as the matrix says (turned clockwise,
// then mirrored left to right: the transpose); other angles go to the nearest quarter turn.
TEST(Orientation, theDisplayMatrixTurnsAndMirrorsThePicture) {
    const struct {
        double degrees;
        bool hflip;
        bool vflip;
        std::vector<int> reds;
        int width;
    } cases[] = {
        {0, false, false, {1, 2, 3, 4, 5, 6}, 3},   {90, false, false, {4, 1, 5, 2, 6, 3}, 2},
        {-90, false, false, {3, 6, 2, 5, 1, 4}, 2}, {180, false, false, {6, 5, 4, 3, 2, 1}, 3},
        {0, true, false, {3, 2, 1, 6, 5, 4}, 3},    {0, false, true, {4, 5, 6, 1, 2, 3}, 3},
        {90, true, false, {1, 4, 2, 5, 3, 6}, 2},   {80, false, false, {4, 1, 5, 2, 6, 3}, 2},
        {100, false, false, {4, 1, 5, 2, 6, 3}, 2}, {150, false, false, {6, 5, 4, 3, 2, 1}, 3},
        {30, false, false, {1, 2, 3, 4, 5, 6}, 3},  {-20, true, false, {3, 2, 1, 6, 5, 4}, 3},
    };
    for (const auto& turn : cases) {
        int width = 0;
        EXPECT_EQ(shown(orientationFor(turn.degrees, turn.hflip, turn.vflip), width), turn.reds)
            << turn.degrees << " degrees, mirrored " << turn.hflip << turn.vflip;
        EXPECT_EQ(width, turn.width) << turn.degrees << " degrees";
    }
    const int32_t nothing[9] = {};
    int width = 0;
    EXPECT_EQ(shown(orientationFromDisplayMatrix(nothing), width),
              (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

}  // namespace
