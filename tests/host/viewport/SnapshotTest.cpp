#include <maya/MImage.h>

#include <gtest/gtest.h>

#include "Media.h"
#include "TestSupport.h"

#include <array>
#include <cmath>
#include <string>

namespace {

using testsupport::runHostScript;
using testsupport::TempDir;
using Pixel = std::array<int, 4>;

constexpr int kWidth = 96;
constexpr int kHeight = 72;

// A path as a script string (test paths hold no quotes or backslashes).
std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A camera at the origin looking down -Z and the test plane 10 units in front of it, scaled
// so that its quad covers exactly the render frame: at 320 x 240 the default film
// (1.417 x 0.945 inches, Fill) frames 0.945 inches vertically.
std::string planeInFrontOfCamera(const std::string& pluginDir) {
    const double halfHeight = 10 * 0.945 * 25.4 / 2 / 35;
    const double halfWidth = halfHeight * 320 / 240;
    return "loadPlugin " + quoted(pluginDir + "/libtestplane.so") +
           ";\n"
           "setAttr defaultResolution.width 320; setAttr defaultResolution.height 240;\n"
           "camera -n shotCam; setAttr shotCamShape.filmFit 0;\n"
           "createNode transform -n plane; createNode testPlane -n planeShape -p plane;\n"
           "setAttr plane.translateZ -10;\n"
           "setAttr plane.scaleX " +
           std::to_string(halfWidth) + "; setAttr plane.scaleY " + std::to_string(halfHeight) +
           ";\n";
}

// The snapshot's pixels, top row first.
std::vector<unsigned char> readTopDown(const std::string& path) {
    MImage image;
    EXPECT_EQ(image.readFromFile(path.c_str()), MStatus::kSuccess);
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    EXPECT_EQ(width, static_cast<unsigned int>(kWidth));
    EXPECT_EQ(height, static_cast<unsigned int>(kHeight));
    image.verticalFlip();
    return std::vector<unsigned char>(image.pixels(), image.pixels() + width * height * 4);
}

Pixel at(const std::vector<unsigned char>& pixels, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * kWidth + x) * 4;
    return Pixel{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
}

TEST(Snapshot, TestPlaneFillsTheFrameUprightAndNotMirrored) {
    TempDir dir;
    const std::string out = dir.file("snap.png");
    const auto result = runHostScript(
        planeInFrontOfCamera(testsupport::testPluginDir()) + "snapshot -camera shotCam -width " +
        std::to_string(kWidth) + " -height " + std::to_string(kHeight) + " -file " + quoted(out));
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const auto pixels = readTopDown(out);
    const Pixel red{255, 0, 0, 255};
    const Pixel green{0, 255, 0, 255};
    const Pixel blue{0, 0, 255, 255};
    const Pixel yellow{255, 255, 0, 255};
    // Each texel spans 12 pixels; linear filtering blends colours only within half a texel
    // of the quadrant borders.
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (std::abs(x + 0.5 - kWidth / 2) < 6 || std::abs(y + 0.5 - kHeight / 2) < 6) {
                continue;
            }
            const bool top = y < kHeight / 2;
            const bool left = x < kWidth / 2;
            const Pixel expected = top ? (left ? red : green) : (left ? blue : yellow);
            ASSERT_EQ(at(pixels, x, y), expected) << "pixel " << x << "," << y;
        }
    }
}

// Two instances of the plane, each half the frame's size, side by side: both are rendered,
// each at the place its own transform gives.
TEST(Snapshot, EveryInstanceIsRenderedAtItsPlace) {
    TempDir dir;
    const std::string out = dir.file("snap.png");
    const double halfHeight = 10 * 0.945 * 25.4 / 2 / 35;
    const double halfWidth = halfHeight * 320 / 240;
    const auto result = runHostScript(
        planeInFrontOfCamera(testsupport::testPluginDir()) + "setAttr plane.scaleX " +
        std::to_string(halfWidth / 2) + "; setAttr plane.scaleY " + std::to_string(halfHeight / 2) +
        "; setAttr plane.translateX " + std::to_string(-halfWidth / 2) +
        ";\ninstance plane; setAttr plane1.translateX " + std::to_string(halfWidth / 2) +
        ";\nsnapshot -camera shotCam -width " + std::to_string(kWidth) + " -height " +
        std::to_string(kHeight) + " -file " + quoted(out));
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const auto pixels = readTopDown(out);
    const Pixel red{255, 0, 0, 255};
    const Pixel green{0, 255, 0, 255};
    const Pixel blue{0, 0, 255, 255};
    const Pixel yellow{255, 255, 0, 255};
    // Each instance is 48 x 36 pixels, 18 rows below the top, with quadrants of 24 x 18.
    for (const int left : {0, kWidth / 2}) {
        EXPECT_EQ(at(pixels, left + 12, 27), red) << "instance at " << left;
        EXPECT_EQ(at(pixels, left + 36, 27), green) << "instance at " << left;
        EXPECT_EQ(at(pixels, left + 12, 45), blue) << "instance at " << left;
        EXPECT_EQ(at(pixels, left + 36, 45), yellow) << "instance at " << left;
    }
    for (const Pixel& quad : {red, green, blue, yellow}) {
        EXPECT_NE(at(pixels, kWidth / 2, 6), quad) << "nothing is drawn above the instances";
    }
}

TEST(Snapshot, TextureDumpWritesTheDrawnTextureInRowOrder) {
    TempDir dir;
    const std::string raw = dir.file("texture.rgba");
    const std::string png = dir.file("texture.png");
    const auto result =
        runHostScript(planeInFrontOfCamera(testsupport::testPluginDir()) +
                      "refresh;\n"
                      "textureDump -node planeShape -file " +
                      quoted(png) + ";\ntextureDump -node plane -file " + quoted(raw));
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("8 6"), std::string::npos) << result.out;
    const std::vector<unsigned char> bytes = testsupport::readBytes(raw);
    ASSERT_EQ(bytes.size(), 8u * 6u * 4u);
    EXPECT_EQ((Pixel{bytes[0], bytes[1], bytes[2], bytes[3]}), (Pixel{255, 0, 0, 255}));
    const std::size_t lastRow = 5 * 8 * 4;
    EXPECT_EQ((Pixel{bytes[lastRow], bytes[lastRow + 1], bytes[lastRow + 2], bytes[lastRow + 3]}),
              (Pixel{0, 0, 255, 255}));

    MImage image;
    ASSERT_EQ(image.readFromFile(png.c_str()), MStatus::kSuccess);
    image.verticalFlip();
    EXPECT_EQ(std::vector<unsigned char>(image.pixels(), image.pixels() + bytes.size()), bytes);
}

// The node's colour space reaches the viewport: Raw values are taken in the ACEScg rendering
// space and shown through the sRGB view, an sRGB space and none show the stored values. The choice
// takes effect at once, at a standing frame.
TEST(Snapshot, CineSheetPictureFollowsTheChosenColourSpace) {
    TempDir dir;
    testsupport::makeMedia("-f lavfi -i color=0x806040:s=32x24,format=rgba -frames:v 1",
                           dir.file("grey.0001.png"));
    std::string script =
        "hostConfig -inputSpaceNames \"sRGB,Raw\";\n"
        "loadPlugin " +
        quoted(testsupport::pluginPath()) +
        ";\n"
        "setAttr defaultResolution.width 96; setAttr defaultResolution.height 72;\n"
        "camera -n shotCam;\n"
        "cineSheet -camera shotCam -filePath " +
        quoted(dir.file("grey.####.png")) + ";\nlookThru shotCam; currentTime 1;\n";
    const char* spaces[] = {"1", "2", "0"};  // sRGB, Raw, None
    for (int i = 0; i < 3; ++i) {
        script += std::string("setAttr cineSheetShape1.colorSpace ") + spaces[i] +
                  "; snapshot -file " + quoted(dir.file("snap" + std::to_string(i) + ".png")) +
                  ";\n";
    }
    const auto result = runHostScript(script);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const Pixel stored{128, 96, 64, 255};
#if MAYA_API_VERSION >= 20230000
    const Pixel linearShown{204, 162, 131, 255};
#else
    const Pixel linearShown = stored;  // no colour space reaches the 2022 draw manager
#endif
    EXPECT_EQ(at(readTopDown(dir.file("snap0.png")), kWidth / 2, kHeight / 2), stored);
    EXPECT_EQ(at(readTopDown(dir.file("snap1.png")), kWidth / 2, kHeight / 2), linearShown);
    EXPECT_EQ(at(readTopDown(dir.file("snap2.png")), kWidth / 2, kHeight / 2), stored);
}

TEST(Snapshot, CommandsRefuseWhatTheyCannotDo) {
    TempDir dir;
    const std::string setup = planeInFrontOfCamera(testsupport::testPluginDir());
    EXPECT_NE(
        runHostScript(setup + "snapshot -camera plane -file " + quoted(dir.file("a.png"))).exitCode,
        0);
    EXPECT_NE(
        runHostScript(setup + "textureDump -node planeShape -file " + quoted(dir.file("b.rgba")))
            .exitCode,
        0);
    EXPECT_NE(runHostScript(setup + "lookThru plane").exitCode, 0);
    const auto looked = runHostScript(setup + "lookThru shotCam; lookThru -q");
    EXPECT_NE(looked.out.find("shotCam"), std::string::npos) << looked.out << looked.err;
}

}  // namespace
