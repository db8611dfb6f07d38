#include "footage/MediaKind.h"
#include "sequence/SequencePattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The file a sequence path names at a frame; a path without '#' names itself.
std::string formatted(const char* path, int frame) {
    const video::SequencePattern pattern(path);
    return pattern.numbered() ? pattern.fileOf(frame) : pattern.text();
}

TEST(FormatFilePath, PadsTheFrameToTheLengthOfTheRun) {
    EXPECT_EQ(formatted("shot.####.png", 7), "shot.0007.png");
    EXPECT_EQ(formatted("shot.####.png", 0), "shot.0000.png");
    EXPECT_EQ(formatted("shot.####.png", 12345), "shot.12345.png");
    EXPECT_EQ(formatted("shot.####.png", -1), "shot.00-1.png");
    EXPECT_EQ(formatted("shot.#.png", 1234567), "shot.1234567.png");
}

TEST(FormatFilePath, OnlyRunsOfTheLongestLengthTakeTheNumber) {
    EXPECT_EQ(formatted("a#b##c", 7), "a#b07c");
    EXPECT_EQ(formatted("x##y##z", 5), "x05y05z");
    EXPECT_EQ(formatted("##/###.###", 3), "##/003.003");
    EXPECT_EQ(formatted("frame####", 42), "frame0042");
    EXPECT_EQ(formatted("#", 9), "9");
}

TEST(FormatFilePath, LeavesPathsWithoutHashAlone) {
    EXPECT_EQ(formatted("/images/still.png", 12), "/images/still.png");
    EXPECT_EQ(formatted("", 12), "");
}

TEST(VideoPath, RecognisesTheVideoExtensionsInAnyCase) {
    for (const char* path :
         {"a.mp4",  "b.MOV",         "c.avi", "d.3gp", "e.mkv", "f.WebM", "g.mpeg",
          "h.flv",  "/x/y/clip.Mp4", ".mpeg", "i.mpg", "j.M4V", "/k.ts",  "l.MTS",
          "m.m2ts", "n.mxf",         "o.WMV", "p.ogv", "q.y4m", ".m2ts"}) {
        EXPECT_TRUE(isVideoPath(path)) << path;
    }
}

TEST(VideoPath, TreatsEverythingElseAsImages) {
    for (const char* path : {"shot.####.png", "plate.exr", "clip.mp4.png", "clipmp4", ".mp4", "mov",
                             "", "a.ts", ".mts", "/movies.mov/frame.####.jpg", "clip.tsx",
                             "clip.m2t", "shot.ts.####.dpx", "clipts", "movie.ogg", "clip.wmv~"}) {
        EXPECT_FALSE(isVideoPath(path)) << path;
    }
}

}  // namespace
