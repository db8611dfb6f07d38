#include "SheetFixture.h"

#include "MediaCatalogue.h"

#include <gtest/gtest.h>

#include <string>

// Stepping a node kept by this binary's 8 MB budget to little more than the frame it shows.
namespace {

void expectToolsFrame(const CineSheetData& data, const testsupport::ReferenceVideo& reference,
                      int frame) {
    EXPECT_TRUE(texturePixels(data).bytes ==
                testsupport::pointSampledRgba(reference.frames[static_cast<size_t>(frame)],
                                              reference.width, reference.height, 1))
        << "frame " << frame;
}

// Frames of 1.2 MB beside a decoder and a texture that take most of the 8 MB: each step on shows
// the tool's frame and costs the decoding of about one frame, as the decoder carries on from one
// step to the next instead of going back to the keyframe. Jumps back and to another block still
// show the tool's frames.
TEST_F(SheetFixture, SteppingUnderPressureDecodesAboutOneFrameAStep) {
    const std::string& path = testsupport::mediaPath("vga_bframes");
    const testsupport::ReferenceVideo& reference = testsupport::reference("vga_bframes");
    FootageSheet& sheet = makeSheet();
    CineSheetData& data = makeData();
    const int frames = static_cast<int>(reference.frames.size());
    for (int frame = 0; frame < frames; ++frame) {
        ASSERT_EQ(showFrame(sheet, data, path, frame), FootageAnswer::kShown) << "frame " << frame;
        expectToolsFrame(data, reference, frame);
    }
    const video::BlockDecoder& blocks = sheet.videoCache.openVideo().blocks();
    // Once per block at most, each seek costing at most a block of packets again.
    EXPECT_LE(blocks.seeks(), 3);
    EXPECT_LE(blocks.packetsSent(), frames + 12 * (blocks.seeks() - 1));
    for (const int frame : {5, 30, 29, 13, 14}) {
        ASSERT_EQ(showFrame(sheet, data, path, frame), FootageAnswer::kShown) << "frame " << frame;
        expectToolsFrame(data, reference, frame);
    }
}

}  // namespace
