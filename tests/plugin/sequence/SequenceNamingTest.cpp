#include "sequence/SequencePattern.h"
#include "sequence/SequenceWindow.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sys/stat.h>

#include <vector>

namespace {

using video::FrameWindow;
using video::PlayDirection;

TEST(FramesOnDisk, SpanTheFilesThePatternNames) {
    testsupport::TempDir folder;
    for (const char* name :
         {"shot.0003.png", "shot.0005.png", "shot.0012.png", "shot.12345.png", "shot.003.png",
          "shot.0001.png.tmp", "take.0001.png", "shot.abcd.png", "shot.0002.jpg"}) {
        testsupport::writeFile(folder.file(name), "x");
    }
    const auto frames = video::SequencePattern(folder.file("shot.####.png")).framesOnDisk();
    ASSERT_TRUE(frames.has_value());
    EXPECT_EQ(frames->first, 3);
    EXPECT_EQ(frames->last, 12345);

    EXPECT_FALSE(video::SequencePattern(folder.file("none.####.png")).framesOnDisk());
    EXPECT_FALSE(video::SequencePattern(folder.file("shot.0003.png")).framesOnDisk());
    // The number must be in the file name alone.
    ASSERT_EQ(mkdir(folder.file("d0001").c_str(), 0755), 0);
    testsupport::writeFile(folder.file("d0001/x.png"), "x");
    EXPECT_FALSE(video::SequencePattern(folder.file("d####/x.png")).framesOnDisk());
}

TEST(SequenceWindow, IsCentredAndStaysFullAtTheEndsOfTheFilesOnDisk) {
    const FrameWindow centred = video::sequenceWindow(50, 9, std::nullopt);
    EXPECT_EQ(centred.first, 46);
    EXPECT_EQ(centred.last, 54);
    const FrameWindow atEnd = video::sequenceWindow(100, 9, FrameWindow{1, 100});
    EXPECT_EQ(atEnd.first, 92);
    EXPECT_EQ(atEnd.last, 100);
    // A frame beyond the files found (one written since) still has its window around it.
    const FrameWindow beyond = video::sequenceWindow(103, 3, FrameWindow{1, 100});
    EXPECT_EQ(beyond.first, 102);
    EXPECT_EQ(beyond.last, 104);
    EXPECT_EQ(video::sequenceWindow(7, 0, std::nullopt).length(), 1);
}

TEST(ReadingOrder, AheadInTheDirectionOfPlayThenBehind) {
    const FrameWindow window{10, 16};
    EXPECT_EQ(video::readingOrder(window, 12, PlayDirection::kForward),
              (std::vector<int>{12, 13, 14, 15, 16, 11, 10}));
    EXPECT_EQ(video::readingOrder(window, 12, PlayDirection::kBackward),
              (std::vector<int>{12, 11, 10, 13, 14, 15, 16}));
    EXPECT_EQ(video::readingOrder(window, 12, PlayDirection::kNone),
              (std::vector<int>{12, 13, 11, 14, 10, 15, 16}));
}

TEST(PlayDirection, StepsOfOneOrTwoArePlayAndJumpsAreNot) {
    EXPECT_EQ(video::playDirection(4, 5, PlayDirection::kNone), PlayDirection::kForward);
    EXPECT_EQ(video::playDirection(4, 6, PlayDirection::kNone), PlayDirection::kForward);
    EXPECT_EQ(video::playDirection(6, 5, PlayDirection::kForward), PlayDirection::kBackward);
    EXPECT_EQ(video::playDirection(5, 5, PlayDirection::kBackward), PlayDirection::kBackward);
    EXPECT_EQ(video::playDirection(5, 40, PlayDirection::kForward), PlayDirection::kNone);
}

}  // namespace
