#include "sequence/SequencePattern.h"
#include "sequence/SequenceWindow.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using video::FrameWindow;
using video::PlayDirection;

// The frames on disk span the files the pattern names, whatever its kind of mark, the number in
// the file name alone; an unnumbered path, or one naming no file, has none.
TEST(FramesOnDisk, SpanTheFilesThePatternNames) {
    testsupport::TempDir folder;
    ASSERT_EQ(mkdir(folder.file("d0001").c_str(), 0755), 0);
    for (const char* name :
         {"shot.0003.png", "shot.0005.png", "shot.0012.png", "shot.12345.png", "shot.003.png",
          "shot.0001.png.tmp", "take.0001.png", "shot.abcd.png", "shot.0002.jpg", "p.0003.png",
          "p.0009.png", "p.12.png", "q.4.png", "q.11.png", "q.011.png", "d0001/x.png"}) {
        testsupport::writeFile(folder.file(name), "x");
    }
    const struct {
        const char* pattern;
        std::optional<FrameWindow> frames;
    } cases[] = {
        {"shot.####.png", FrameWindow{3, 12345}}, {"p.%04d.png", FrameWindow{3, 9}},
        {"p.@@@@.png", FrameWindow{3, 9}},        {"p.####.png", FrameWindow{3, 9}},
        {"q.%d.png", FrameWindow{4, 11}},         {"none.####.png", std::nullopt},
        {"shot.0003.png", std::nullopt},          {"d####/x.png", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto frames = video::SequencePattern(folder.file(c.pattern)).framesOnDisk();
        ASSERT_EQ(frames.has_value(), c.frames.has_value()) << c.pattern;
        if (frames) {
            EXPECT_EQ(frames->first, c.frames->first) << c.pattern;
            EXPECT_EQ(frames->last, c.frames->last) << c.pattern;
        }
    }
}

// The file a path names at a frame: "#" runs in the file name, printf marks padded to their
// width, "@" runs outside words; the first kind found counts and the others are literal text. A
// name with none of them, or with marks in its folders only, is a still's and names itself.
TEST(SequenceNaming, EachKindOfMarkNamesTheFrame) {
    const std::pair<const char*, const char*> atSeven[] = {
        {"/shots/dir#x/img.png", "/shots/dir#x/img.png"},
        {"/shots/take##2/shot.####.png", "/shots/take##2/shot.0007.png"},
        {"/a####/b%04d/c@@@@/s.#.png", "/a####/b%04d/c@@@@/s.7.png"},
        {"plate.%04d.exr", "plate.0007.exr"},
        {"plate.%d.exr", "plate.7.exr"},
        {"plate_%03d_%03d.exr", "plate_007_007.exr"},
        {"s#.%02d.png", "s#.07.png"},
        {"plate.@@@@.exr", "plate.0007.exr"},
        {"plate_@@.exr", "plate_07.exr"},
        {"@@@", "007"},
        {"plate.##.@@@@.exr", "plate.07.@@@@.exr"},
    };
    for (const auto& [path, file] : atSeven) {
        EXPECT_EQ(video::SequencePattern(path).fileOf(7), file) << path;
    }
    EXPECT_EQ(video::SequencePattern("plate.%04d.exr").fileOf(12345), "plate.12345.exr");
    for (const char* still : {"/shots/dir#x/img.png", "100%.png", "a%4d.png", "b%0d.png", "c%x.png",
                              "%", "me@home.png", "v@2.png", "a@@b.jpg"}) {
        EXPECT_FALSE(video::SequencePattern(still).numbered()) << still;
    }
}

TEST(FramesOnDisk, HeldFrameIsTheNearestBeforeElseTheNextAfter) {
    testsupport::TempDir folder;
    for (const char* name : {"s.0003.png", "s.0004.png", "s.0009.png"}) {
        testsupport::writeFile(folder.file(name), "x");
    }
    const video::SequencePattern pattern(folder.file("s.####.png"));
    EXPECT_EQ(pattern.heldFrameFor(7), 4);
    EXPECT_EQ(pattern.heldFrameFor(4), 3);
    EXPECT_EQ(pattern.heldFrameFor(1), 3);
    EXPECT_EQ(pattern.heldFrameFor(100), 9);
    EXPECT_FALSE(video::SequencePattern(folder.file("none.####.png")).heldFrameFor(1));
    EXPECT_FALSE(video::SequencePattern(folder.file("s.0003.png")).heldFrameFor(1));
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
