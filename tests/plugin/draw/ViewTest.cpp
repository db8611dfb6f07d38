#include "Media.h"
#include "TestSupport.h"

#include <maya/MImage.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

// How a plane is seen, through cinesheet-host and the real plug-in: its opacity, the views that
// show it, and orthographic cameras. Snapshots are 64 x 36, the render resolution.
namespace {

using testsupport::runHostScript;
using testsupport::TempDir;
using Pixel = std::array<int, 3>;

constexpr int kWidth = 64;
constexpr int kHeight = 36;

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

class ViewTest : public ::testing::Test {
protected:
    // A still picture: top left yellow, top right green, bottom left red, bottom right black.
    std::string quadrants() {
        const std::string path = dir.file("quadrants.png");
        testsupport::makeMedia(
            "-f lavfi -i color=black:s=64x36,format=rgb24 -frames:v 1 -vf "
            "\"geq=r='255*lt(X,32)':g='255*lt(Y,18)':b=0\"",
            path);
        return path;
    }

    // A clip of one flat colour.
    std::string flatClip(const std::string& name) {
        const std::string path = dir.file(name);
        testsupport::makeMedia(
            "-f lavfi -i color=c=0xC08040:s=64x36:r=24 -frames:v 24 -g 8 -pix_fmt yuv420p", path);
        return path;
    }

    // The scene's start: the plug-in, the render resolution and a shot camera.
    static std::string scene() {
        return "loadPlugin " + quoted(testsupport::pluginPath()) +
               ";\nsetAttr defaultResolution.width 64; setAttr defaultResolution.height 36;\n"
               "camera -n shotCam; setAttr shotCam.translate 3 2 40;\n";
    }

    std::string snapshot(const std::string& name, const std::string& camera) {
        return "snapshot -camera " + camera + " -file " + quoted(dir.file(name + ".png")) + ";\n";
    }

    // Runs the script; its standard output is returned.
    std::string run(const std::string& script) {
        const auto result = runHostScript(script);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
        return result.out;
    }

    // The snapshot's RGB, top row first.
    std::vector<Pixel> pixels(const std::string& name) {
        MImage image;
        EXPECT_EQ(image.readFromFile(dir.file(name + ".png").c_str()), MStatus::kSuccess);
        unsigned int width = 0;
        unsigned int height = 0;
        image.getSize(width, height);
        EXPECT_EQ(width, static_cast<unsigned int>(kWidth));
        EXPECT_EQ(height, static_cast<unsigned int>(kHeight));
        image.verticalFlip();
        std::vector<Pixel> rgb;
        for (unsigned int i = 0; i < width * height; ++i) {
            const unsigned char* p = image.pixels() + i * 4;
            rgb.push_back(Pixel{p[0], p[1], p[2]});
        }
        return rgb;
    }

    static Pixel at(const std::vector<Pixel>& picture, int x, int y) {
        return picture[static_cast<std::size_t>(y) * kWidth + x];
    }

    TempDir dir;
};

// At alphaGain 0.5 the picture is blended half over what is behind it; at 0 nothing is drawn;
// 1 draws the picture as it always did.
TEST_F(ViewTest, AlphaGainBlendsThePictureOverTheBackground) {
    run(scene() + snapshot("empty", "shotCam") + "cineSheet -camera shotCamShape -filePath " +
        quoted(flatClip("flat.mov")) + ";\ncurrentTime 3;\n" + snapshot("opaque", "shotCam") +
        "setAttr cineSheetShape1.alphaGain 0.5;\n" + snapshot("half", "shotCam") +
        "setAttr cineSheetShape1.alphaGain 0;\n" + snapshot("none", "shotCam"));
    const auto empty = pixels("empty");
    const auto opaque = pixels("opaque");
    const auto half = pixels("half");
    EXPECT_EQ(pixels("none"), empty);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Pixel background = at(empty, x, y);
            const Pixel picture = at(opaque, x, y);
            ASSERT_NE(picture, background) << "the picture fills the frame at " << x << "," << y;
            for (int c = 0; c < 3; ++c) {
                const double expected = (picture[c] + background[c]) / 2.0;
                ASSERT_LE(std::abs(at(half, x, y)[c] - expected), 1.0)
                    << "pixel " << x << "," << y << " channel " << c;
            }
        }
    }
}

// Shown only through its own camera: other views draw nothing and do not even open the file
// (its keyframe interval, learnt when the video is first shown, stays unknown).
TEST_F(ViewTest, DisplayOnlyIfCurrentShowsThePlaneThroughItsCameraAlone) {
    const std::string out =
        run(scene() + snapshot("perspEmpty", "persp") + snapshot("shotEmpty", "shotCam") +
            "cineSheet -camera shotCamShape -filePath " + quoted(flatClip("hidden.mov")) +
            ";\nsetAttr cineSheetShape1.displayOnlyIfCurrent true;\n"
            "setAttr shotCam.translate 0 0 -60;\n" +
            // From persp the plane is in view, standing in front of the shot camera.
            snapshot("persp", "persp") +
            "flushIdleQueue;\n"
            "print (\"interval \" + `getAttr cineSheetShape1.keyframeInterval` + \"\\n\");\n" +
            snapshot("shot", "shotCam") +
            "flushIdleQueue;\n"
            "print (\"interval \" + `getAttr cineSheetShape1.keyframeInterval` + \"\\n\");\n"
            "setAttr cineSheetShape1.displayOnlyIfCurrent false;\n" +
            snapshot("perspShown", "persp"));
    const std::size_t hidden = out.find("interval 0\n");
    EXPECT_NE(hidden, std::string::npos) << out;
    EXPECT_NE(out.find("interval 8\n", hidden), std::string::npos) << out;
    EXPECT_EQ(pixels("persp"), pixels("perspEmpty"));
    EXPECT_NE(pixels("shot"), pixels("shotEmpty"));
    EXPECT_NE(pixels("perspShown"), pixels("perspEmpty"));
}

// On an orthographic camera the plane fills the view at the camera's width, whatever it is: the
// four quadrants of the picture fill the four quadrants of the snapshot.
TEST_F(ViewTest, OrthographicPlanesFillTheFrontView) {
    const std::string picture = quadrants();
    for (const char* width : {"30", "300"}) {
        SCOPED_TRACE(width);
        run(scene() + "setAttr frontShape.orthographicWidth " + width +
            ";\ncineSheet -camera front -filePath " + quoted(picture) + ";\n" +
            snapshot("front", "front"));
        const auto front = pixels("front");
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const Pixel expected{x < 32 ? 255 : 0, y < 18 ? 255 : 0, 0};
                ASSERT_EQ(at(front, x, y), expected) << "pixel " << x << "," << y;
            }
        }
    }
}

}  // namespace
