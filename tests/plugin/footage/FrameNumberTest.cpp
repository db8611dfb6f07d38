#include "SheetFixture.h"

#include "footage/FrameNumber.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace {

TEST(FrameNumber, TruncatesTheTimeMinusTheOffsetTowardZero) {
    EXPECT_EQ(frameNumberAt(12.9, 0, 0, 0), 12);
    EXPECT_EQ(frameNumberAt(-0.5, 0, 0, 0), 0);
    EXPECT_EQ(frameNumberAt(-1.5, 0, 0, 0), -1);
    EXPECT_EQ(frameNumberAt(10.0, 3, 0, 0), 7);
    EXPECT_EQ(frameNumberAt(10.0, -3, 0, 0), 13);
}

TEST(FrameNumber, LimitsAboveZeroTurnFramesOutsideIntoMinusOne) {
    EXPECT_EQ(frameNumberAt(9.0, 0, 10, 0), -1);
    EXPECT_EQ(frameNumberAt(10.0, 0, 10, 0), 10);
    EXPECT_EQ(frameNumberAt(21.0, 0, 0, 20), -1);
    EXPECT_EQ(frameNumberAt(20.0, 0, 0, 20), 20);
    EXPECT_EQ(frameNumberAt(15.0, 0, 10, 20), 15);
    // The limits apply to the frame after the offset.
    EXPECT_EQ(frameNumberAt(12.0, 3, 10, 20), -1);
}

TEST(FrameNumber, LimitsOfZeroOrLessLeaveEveryFrame) {
    EXPECT_EQ(frameNumberAt(-40.0, 0, 0, 0), -40);
    EXPECT_EQ(frameNumberAt(-40.0, 0, -50, -1), -40);
    EXPECT_EQ(frameNumberAt(100000.0, 0, 0, 0), 100000);
}

TEST(FrameNumber, TimesBeyondTheIntRangeNameNoFrame) {
    EXPECT_EQ(frameNumberAt(1e12, 0, 0, 0), -1);
    EXPECT_EQ(frameNumberAt(-1e12, 0, 0, 0), -1);
    EXPECT_EQ(frameNumberAt(std::numeric_limits<double>::quiet_NaN(), 0, 0, 0), -1);
}

// The frame a refresh shows comes from the node's time, offset and range.
class ShownFrame : public SheetFixture {
protected:
    // The sequence frame the texture shows, 0 when it shows none of frames 1 to 5.
    int shownFrame() {
        const Texture texture = drawnTexture();
        for (int frame = 1; frame <= 5; ++frame) {
            if (texture.pixels == frameprep::pngPixels(frame)) {
                return frame;
            }
        }
        return 0;
    }
    // Whether the texture shows nothing, at the sequence's shape.
    bool showsNothing() {
        return drawnTexture().pixels == std::vector<std::uint8_t>(64 * 48 * 4, 0);
    }
};

TEST_F(ShownFrame, FollowsTimeOffsetAndRange) {
    setFile(frameprep::pngSequence());
    setTime(3.9);
    refresh();
    EXPECT_EQ(shownFrame(), 3);

    ASSERT_EQ(plug("frameOffset").setInt(2), MStatus::kSuccess);
    setTime(6.0);
    refresh();
    EXPECT_EQ(shownFrame(), 4);

    // Frame 4 is before the start: frame -1 is looked for, before the sequence's first file, so
    // nothing is shown.
    ASSERT_EQ(plug("startFrame").setInt(5), MStatus::kSuccess);
    refresh();
    EXPECT_TRUE(showsNothing());
    setTime(7.0);
    refresh();
    EXPECT_EQ(shownFrame(), 5);

    ASSERT_EQ(plug("endFrame").setInt(5), MStatus::kSuccess);
    setTime(8.0);
    refresh();
    EXPECT_TRUE(showsNothing());
}

}  // namespace
