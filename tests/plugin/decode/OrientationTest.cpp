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

TEST(Orientation, quarterAndHalfTurnsShowThePictureUpright) {
    int width = 0;
    EXPECT_EQ(shown(orientationFor(0), width), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(width, 3);
    EXPECT_EQ(shown(orientationFor(90), width), (std::vector<int>{4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(width, 2);
    EXPECT_EQ(shown(orientationFor(-90), width), (std::vector<int>{3, 6, 2, 5, 1, 4}));
    EXPECT_EQ(width, 2);
    EXPECT_EQ(shown(orientationFor(180), width), (std::vector<int>{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(width, 3);
}

TEST(Orientation, mirrorsAreShownAsTheMatrixSays) {
    int width = 0;
    EXPECT_EQ(shown(orientationFor(0, true), width), (std::vector<int>{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(shown(orientationFor(0, false, true), width), (std::vector<int>{4, 5, 6, 1, 2, 3}));
    // Turned clockwise, then mirrored left to right: the transpose.
    EXPECT_EQ(shown(orientationFor(90, true), width), (std::vector<int>{1, 4, 2, 5, 3, 6}));
    EXPECT_EQ(width, 2);
}

TEST(Orientation, otherAnglesGoToTheNearestQuarterTurn) {
    int width = 0;
    const std::vector<int> clockwise = shown(orientationFor(90), width);
    EXPECT_EQ(shown(orientationFor(80), width), clockwise);
    EXPECT_EQ(shown(orientationFor(100), width), clockwise);
    EXPECT_EQ(shown(orientationFor(150), width), shown(orientationFor(180), width));
    EXPECT_EQ(shown(orientationFor(30), width), shown(orientationFor(0), width));
    EXPECT_EQ(shown(orientationFor(-20, true), width), shown(orientationFor(0, true), width));
    const int32_t nothing[9] = {};
    EXPECT_EQ(shown(orientationFromDisplayMatrix(nothing), width),
              (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

}  // namespace
