#pragma once

#include "SheetFixture.h"
#include "draw/CineSheetDrawOverride.h"

#include <cstdint>
#include <string>
#include <vector>

// Sequences the suite plays, made with the ffmpeg tool once per run, and the tool's decode.
namespace sequencetest {

constexpr int kFrames = 24;
// Frames 1 to 24 of a 64 x 48 picture, different in every frame, with a varying alpha:
// png.0001.png to png.0024.png.
std::string pngSequence();
// Frames 1 to 6 of a 64 x 48 picture as EXR files in half floats (half.0001.exr ...) and in
// floats with alpha (float.0001.exr ...).
std::string halfExrSequence();
std::string floatExrSequence();

// The pattern's file of a frame.
std::string fileOf(const std::string& pattern, int frame);
// The file as the ffmpeg tool decodes it to RGBA, top row first; decoded once per file.
const std::vector<std::uint8_t>& toolRgba(const std::string& file);

// A copy of frames `first` to `last` of the PNG sequence in a folder of the caller's.
std::string copyOfPngSequence(const testsupport::TempDir& folder, int first, int last);

}  // namespace sequencetest

// A sheet playing sequences, with the node's draw override at hand.
class SequenceSheet : public SheetFixture {
protected:
    CineSheetDrawOverride& drawOverride() const;
    // Sets the time, refreshes, and checks the texture against the tool's decode of the file.
    void expectShown(const std::string& pattern, int frame);
    void expectPicture(int frame, const std::string& referenceFile);
    // Waits, within a generous limit, until the sequence cache holds `frames` frames.
    bool waitForFramesHeld(size_t frames) const;
};
