#include <maya/MImage.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

using testsupport::runHostScript;
using testsupport::TempDir;
using Pixel = std::array<int, 3>;

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A cineSheet in front of shotCam showing an image sequence whose frames 3, 4 and 5 are plain
// red, green and blue, at a 40 x 30 render resolution.
std::string colourSequenceScene(const TempDir& dir) {
    const char* colours[] = {"0xFF0000", "0x00FF00", "0x0000FF"};
    for (int i = 0; i < 3; ++i) {
        const auto made = testsupport::runCommand(
            std::string("ffmpeg -nostdin -v error -y -f lavfi -i color=c=") + colours[i] +
            ":s=40x30 -frames:v 1 " + dir.file("colour.000" + std::to_string(3 + i) + ".png"));
        EXPECT_EQ(made.exitCode, 0) << made.err;
    }
    return "loadPlugin " + quoted(testsupport::pluginPath()) +
           ";\n"
           "setAttr defaultResolution.width 40; setAttr defaultResolution.height 30;\n"
           "camera -n shotCam;\n"
           "cineSheet -camera shotCam -filePath " +
           quoted(dir.file("colour.####.png")) + ";\n";
}

Pixel centre(const std::string& path, unsigned int expectedWidth, unsigned int expectedHeight) {
    MImage image;
    EXPECT_EQ(image.readFromFile(path.c_str()), MStatus::kSuccess) << path;
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    EXPECT_EQ(width, expectedWidth) << path;
    EXPECT_EQ(height, expectedHeight) << path;
    if (width == 0 || height == 0) {
        return Pixel{-1, -1, -1};
    }
    const unsigned char* p = image.pixels() + ((height / 2) * width + width / 2) * 4;
    return Pixel{p[0], p[1], p[2]};
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

// The colours as the ffmpeg tool writes them (through YUV): within a few levels of the pure ones.
::testing::AssertionResult isColour(const Pixel& got, const Pixel& wanted) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(got[i] - wanted[i]) > 4) {
            return ::testing::AssertionFailure()
                   << "got " << got[0] << " " << got[1] << " " << got[2] << ", expected "
                   << wanted[0] << " " << wanted[1] << " " << wanted[2];
        }
    }
    return ::testing::AssertionSuccess();
}

const Pixel kRed{255, 0, 0};
const Pixel kGreen{0, 255, 0};
const Pixel kBlue{0, 0, 255};

TEST(Playblast, WritesOneNumberedPictureOfEachFrameAndPutsTheTimeBack) {
    TempDir dir;
    const std::string prefix = dir.file("blast/shot");
    const auto result = runHostScript(colourSequenceScene(dir) +
                                      "currentTime 10;\n"
                                      "playblast -startTime 3 -endTime 5 -camera shotCam -width 32 "
                                      "-height 24 -filename " +
                                      quoted(prefix) + ";\ncurrentTime -query;");
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

    EXPECT_EQ(filesIn(dir.file("blast")),
              (std::set<std::string>{"shot.0003.png", "shot.0004.png", "shot.0005.png"}));
    EXPECT_TRUE(isColour(centre(prefix + ".0003.png", 32, 24), kRed));
    EXPECT_TRUE(isColour(centre(prefix + ".0004.png", 32, 24), kGreen));
    EXPECT_TRUE(isColour(centre(prefix + ".0005.png", 32, 24), kBlue));

    EXPECT_NE(result.out.find("// Result: " + prefix + ".####.png //\n// Result: 10 //"),
              std::string::npos)
        << result.out;
    const std::size_t first = result.err.find("playblast: frame 3 (1/3)\n");
    const std::size_t second = result.err.find("playblast: frame 4 (2/3)\n");
    const std::size_t third = result.err.find("playblast: frame 5 (3/3)\n");
    ASSERT_NE(third, std::string::npos) << result.err;
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(result.err.find("playblast: 3 frames in "), std::string::npos) << result.err;
}

TEST(Playblast, DefaultsToTheCurrentFrameTheLookThruCameraAndTheRenderResolution) {
    TempDir dir;
    const auto result = runHostScript(colourSequenceScene(dir) +
                                      "currentTime 4; lookThru shotCam;\n"
                                      "playblast -framePadding 2 -filename " +
                                      quoted(dir.file("p")) + ";");
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_TRUE(testsupport::fileExists(dir.file("p.04.png"))) << result.err;
    EXPECT_TRUE(isColour(centre(dir.file("p.04.png"), 40, 30), kGreen));
}

TEST(Playblast, RefusesCallsItCannotCarryOutAndWritesNothing) {
    TempDir dir;
    const std::string prefix = " -filename " + quoted(dir.file("out/x"));
    const auto result = runHostScript(colourSequenceScene(dir) +
                                          "playblast -startTime 3;\n"
                                          "playblast -startTime 5 -endTime 3" +
                                          prefix +
                                          ";\n"
                                          "playblast -camera noSuchCamera" +
                                          prefix +
                                          ";\n"
                                          "playblast -width 0" +
                                          prefix +
                                          ";\n"
                                          "playblast -framePadding 0" +
                                          prefix + ";\n",
                                      true);
    EXPECT_NE(result.exitCode, 0);
    for (const char* message :
         {"playblast: -filename is required", "playblast: the end time is before the start time",
          "playblast: noSuchCamera is not a camera",
          "playblast: the width and height must be positive",
          "playblast: the frame padding must be 1 to 9 digits"}) {
        EXPECT_NE(result.err.find(message), std::string::npos) << message << "\n" << result.err;
    }
    EXPECT_TRUE(filesIn(dir.file("out")).empty());
}

}  // namespace
