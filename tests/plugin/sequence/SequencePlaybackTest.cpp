#include "SequenceMedia.h"

#include <host/Textures.h>
#include <host/Viewport.h>

#include "picture/HeldFrameMark.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <random>

namespace {

using sequencetest::fileOf;
using sequencetest::kFrames;
using sequencetest::pngSequence;

std::string original(int frame) {
    return fileOf(pngSequence(), frame);
}

// The file's picture as shown in place of a missing or unreadable frame.
std::vector<std::uint8_t> heldPicture(const std::string& file) {
    std::vector<std::uint8_t> pixels = sequencetest::toolRgba(file);
    video::drawHeldFrameMark(pixels.data(), 64, 48);
    return pixels;
}

// A new file under the old name, as a renderer writing a frame again leaves it.
void replaceFile(const std::string& file, const std::string& with) {
    const std::string fresh = file + ".new";
    testsupport::writeFile(fresh, testsupport::readFile(with));
    ASSERT_EQ(std::rename(fresh.c_str(), file.c_str()), 0);
}

class SequencePlayback : public SequenceSheet {};

TEST_F(SequencePlayback, EveryFramePlayedAndScrubbedIsTheToolsDecode) {
    const std::string pattern = pngSequence();
    setFile(pattern);
    // A window shorter than the sequence: frames leave it and are read again.
    ASSERT_EQ(plug("cacheFrames").setInt(7), MStatus::kSuccess);
    for (int frame = 1; frame <= kFrames; ++frame) {
        expectShown(pattern, frame);
    }
    std::mt19937 random(11);
    for (int i = 0; i < 40; ++i) {
        expectShown(pattern, 1 + static_cast<int>(random() % kFrames));
    }
    for (int frame = kFrames; frame >= 1; --frame) {
        expectShown(pattern, frame);
    }
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 64.0 / 48.0);
    EXPECT_EQ(plug("keyframeInterval").asInt(), 1);
}

TEST_F(SequencePlayback, FramesOfOneSizeGoIntoOneTexture) {
    const std::string pattern = pngSequence();
    ASSERT_EQ(plug("cacheDepth").setShort(1), MStatus::kSuccess);
    setFile(pattern);
    expectShown(pattern, 1);
    host::resetTextureCounters();
    for (int frame : {2, 3, 9, 4}) {
        expectShown(pattern, frame);
    }
    EXPECT_EQ(host::textureStats().acquired, 0u);
    // Another sequence, though of the same size, is another medium with a texture of its own.
    setFile(sequencetest::halfExrSequence());
    expectShown(sequencetest::halfExrSequence(), 4);
    EXPECT_EQ(host::textureStats().acquired, 1u);
}

// At "8-bit" EXR frames are the tool's 8-bit decode, as all frames were before; a switch to
// "Auto" reads them again into half floats (whose values the still-image reading checks).
TEST_F(SequencePlayback, ExrFramesAreReadAgainAtAnotherDepth) {
    for (const std::string& pattern :
         {sequencetest::halfExrSequence(), sequencetest::floatExrSequence()}) {
        ASSERT_EQ(plug("cacheDepth").setShort(1), MStatus::kSuccess);
        setFile(pattern);
        for (int frame : {1, 2, 3, 4, 5, 6, 4, 1}) {
            expectShown(pattern, frame);
        }
        ASSERT_EQ(plug("cacheDepth").setShort(0), MStatus::kSuccess);
        for (int frame : {1, 2, 5}) {
            setTime(frame);
            refresh();
            EXPECT_EQ(drawnTexture().pixels.size(), 64u * 48 * 8) << pattern << " frame " << frame;
        }
    }
}

TEST_F(SequencePlayback, SecondPassReadsNoFile) {
    testsupport::TempDir folder;
    const std::string pattern = sequencetest::copyOfPngSequence(folder, 1, kFrames);
    setFile(pattern);
    for (int frame = 1; frame <= kFrames; ++frame) {
        expectPicture(frame, original(frame));
    }
    ASSERT_TRUE(waitForFramesHeld(kFrames));
    // Looking at a file (its stamp) is no read of it; reading it for a picture is.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.path().c_str(), IN_ACCESS), 0);
    for (int frame = 1; frame <= kFrames; ++frame) {
        expectPicture(frame, original(frame));
    }
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "a frame's file was read again";
    close(watch);
}

TEST_F(SequencePlayback, WindowFollowsTheFrameAskedFor) {
    setFile(pngSequence());
    ASSERT_EQ(plug("cacheFrames").setInt(5), MStatus::kSuccess);
    expectShown(pngSequence(), 3);
    ASSERT_TRUE(waitForFramesHeld(5));
    // Far off: the frames held before leave, those around the new one come.
    expectShown(pngSequence(), 20);
    ASSERT_TRUE(waitForFramesHeld(5));
    ASSERT_EQ(plug("cacheFrames").setInt(0), MStatus::kSuccess);
    expectShown(pngSequence(), 21);
    EXPECT_TRUE(waitForFramesHeld(1));
}

// A missing or unreadable frame holds the one before, crossed, and leaves the other frames held
// and the node's facts as they were; looked for again at every refresh of the frame, it shows
// once it is there (written, or a new file under its name, as a renderer leaves it).
TEST_F(SequencePlayback, BrokenFrameHoldsTheOneBeforeUntilItReads) {
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "unreadable");
        testsupport::TempDir folder;
        const std::string pattern = sequencetest::copyOfPngSequence(folder, 1, 8);
        if (missing) {
            ASSERT_EQ(std::remove(fileOf(pattern, 4).c_str()), 0);
        } else {
            testsupport::writeFile(fileOf(pattern, 4), "not a picture");
        }
        setFile(pattern);
        for (int frame : {1, 2, 3, 4, 5, 6, 7, 8, 4}) {
            setTime(frame);
            refresh();
            EXPECT_TRUE(
                drawnTexture().pixels ==
                (frame == 4 ? heldPicture(original(3)) : sequencetest::toolRgba(original(frame))))
                << "frame " << frame;
            EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 64.0 / 48.0);
            EXPECT_EQ(plug("keyframeInterval").asInt(), 1);
        }
        EXPECT_TRUE(waitForFramesHeld(7));
        if (missing) {
            testsupport::writeFile(fileOf(pattern, 4), testsupport::readFile(original(4)));
        } else {
            replaceFile(fileOf(pattern, 4), original(4));
        }
        refresh();
        EXPECT_TRUE(drawnTexture().pixels == sequencetest::toolRgba(original(4)));
        expectPicture(5, original(5));
    }
}

TEST_F(SequencePlayback, SwitchingToAVideoAndBack) {
    const testsupport::ReferenceVideo video = testsupport::referenceDecode(frameprep::video());
    auto expectVideoFrame = [&](int frame) {
        setTime(frame);
        refresh();
        const Texture texture = drawnTexture();
        EXPECT_EQ(texture.width, 96);
        EXPECT_TRUE(texture.pixels == testsupport::pointSampledRgba(video.frames.at(frame),
                                                                    video.width, video.height, 1))
            << "video frame " << frame;
    };
    setFile(pngSequence());
    expectShown(pngSequence(), 3);
    setFile(frameprep::video());
    expectVideoFrame(5);
    // The sequence's frames are let go while the video shows.
    EXPECT_EQ(drawOverride().footage().sequence().framesHeld(), 0u);
    setFile(pngSequence());
    expectShown(pngSequence(), 6);
    expectShown(pngSequence(), 7);
    setFile(frameprep::video());
    expectVideoFrame(7);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 1.5);
}

}  // namespace
