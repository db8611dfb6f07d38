#include <maya/MImage.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <vector>

namespace {

TEST(ImageMemory, CreateGivesZeroedPixelsOfTheChannelCount) {
    MImage image;
    ASSERT_EQ(image.create(5, 3, 3), MStatus::kSuccess);
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    EXPECT_EQ(width, 5u);
    EXPECT_EQ(height, 3u);
    EXPECT_EQ(image.depth(), 3u);
    const std::vector<unsigned char> bytes(image.pixels(), image.pixels() + 45);
    EXPECT_EQ(bytes, std::vector<unsigned char>(45, 0));
    // Maya documents only success and failure for create.
    EXPECT_EQ(image.create(0, 3), MStatus::kFailure);
    EXPECT_EQ(image.create(2, 2, 5), MStatus::kFailure);
}

TEST(ImageMemory, VerticalFlipSwapsRowsAndTwiceRestores) {
    MImage image;
    ASSERT_EQ(image.create(2, 3, 4), MStatus::kSuccess);
    std::vector<unsigned char> rows(2 * 3 * 4);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<unsigned char>(i / 8);  // row number in every byte
    }
    image.setPixels(rows.data(), 2, 3);
    image.verticalFlip();
    EXPECT_EQ(image.pixels()[0], 2);
    EXPECT_EQ(image.pixels()[8], 1);
    EXPECT_EQ(image.pixels()[16], 0);
    image.verticalFlip();
    EXPECT_EQ(std::vector<unsigned char>(image.pixels(), image.pixels() + rows.size()), rows);
    image.release();
    EXPECT_EQ(image.pixels(), nullptr);
    image.verticalFlip();
    unsigned int width = 1;
    unsigned int height = 1;
    EXPECT_EQ(image.getSize(width, height), MStatus::kFailure);
}

TEST(ImageMemory, WrittenPngReadsBackUpright) {
    testsupport::TempDir dir;
    MImage image;
    ASSERT_EQ(image.create(3, 2), MStatus::kSuccess);
    // Bottom row first: the bottom row is red, the top row blue with partial alpha.
    const std::vector<unsigned char> pixels = {
        255, 0, 0,   255, 255, 0, 0,   255, 255, 0, 0,   255,  //
        0,   0, 255, 128, 0,   0, 255, 128, 0,   0, 255, 128,  //
    };
    image.setPixels(const_cast<unsigned char*>(pixels.data()), 3, 2);
    const std::string path = dir.file("out.png");
    EXPECT_EQ(image.writeToFile(path.c_str()), MStatus::kNotImplemented);
    ASSERT_EQ(image.writeToFile(path.c_str(), "png"), MStatus::kSuccess);

    const auto top = testsupport::runCommand("ffmpeg -v error -i " + testsupport::shellQuote(path) +
                                             " -f rawvideo -pix_fmt rgba -");
    ASSERT_EQ(top.exitCode, 0) << top.err;
    const std::string expectedTopDown(pixels.begin() + 12, pixels.end());
    EXPECT_EQ(top.out.substr(0, 12), expectedTopDown);
    EXPECT_EQ(top.out.substr(12), std::string(pixels.begin(), pixels.begin() + 12));

    MImage back;
    ASSERT_EQ(back.readFromFile(path.c_str()), MStatus::kSuccess);
    EXPECT_EQ(std::vector<unsigned char>(back.pixels(), back.pixels() + pixels.size()), pixels);
}

}  // namespace
