#pragma once

#include "Media.h"

#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// A fresh scene with the CineSheet node type and its draw override registered, and one node,
// "sheetShape" under "sheet", drawn by the host's viewport at each refresh.
class SheetFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs host commands; the test fails if they fail.
    static void run(const std::string& script);
    // One viewport refresh: prepareForDraw, then addUIDrawables.
    static void refresh();

    void setFile(const std::string& path);
    // The node's time, in the scene's time unit.
    void setTime(double value);
    MPlug plug(const char* attribute) const;

    // The texture the node drew at the latest refresh (empty when none).
    struct Texture {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> pixels;
    };
    Texture drawnTexture() const;
    // Whether the latest refresh drew a textured mesh.
    bool drewMesh() const;
    // Whether it drew the placeholder card.
    bool drewCard() const;

    MObject sheet;
};

// Files the tests share, made with the ffmpeg tool once per test run on first use.
namespace frameprep {

const testsupport::TempDir& scratch();
// Frames 1 to 5 of a 64 x 48 picture, different in every frame, with a varying alpha, as
// shot.0001.png to shot.0005.png.
std::string pngSequence();
// The file of frame 1 to 5 of that sequence, and its pixels as the ffmpeg tool decodes them.
std::string pngFrame(int frame);
const std::vector<std::uint8_t>& pngPixels(int frame);
// 48 frames at 24 frames per second, 96 x 64, a keyframe every 8 frames.
std::string video();

// The file decoded by the ffmpeg tool to RGBA, top row first.
std::vector<std::uint8_t> rgbaOf(const std::string& file);
// What a gamma table applies: each colour byte v becomes trunc(powf(v / 255, gamma) * 255).
std::vector<std::uint8_t> withGamma(std::vector<std::uint8_t> rgba, float gamma);

}  // namespace frameprep
