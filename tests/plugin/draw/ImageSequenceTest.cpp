#include "SheetFixture.h"

#include "draw/CineSheetData.h"
#include "node/CineSheet.h"
#include "node/ColorSpaceChoice.h"
#include "picture/HeldFrameMark.h"

#include <host/Messages.h>
#include <host/Textures.h>
#include <host/Viewport.h>

#include <maya/MFnEnumAttribute.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace {

using frameprep::pngFrame;
using frameprep::pngPixels;
using frameprep::rgbaOf;

void copyFile(const std::string& from, const std::string& to) {
    testsupport::writeFile(to, testsupport::readFile(from));
}

class ImageSequence : public SheetFixture {};

TEST_F(ImageSequence, GammaChangeUploadsAgainWithoutReadingAFile) {
    testsupport::TempDir folder;
    const std::string still = folder.file("still.png");
    copyFile(pngFrame(1), still);
    setFile(still);
    setTime(1);
    refresh();
    ASSERT_EQ(drawnTexture().pixels, pngPixels(1));

    // Another picture under the same name: only a file read would show it.
    copyFile(pngFrame(4), still);
    ASSERT_EQ(plug("gamma").setFloat(2.2f), MStatus::kSuccess);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::withGamma(pngPixels(1), 2.2f));

    // At a new frame number a still's file is looked at, and read again as it changed.
    setTime(2);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, frameprep::withGamma(pngPixels(4), 2.2f));
}

TEST_F(ImageSequence, StandingTimeReadsNoFileAndWritesNoAttribute) {
    testsupport::TempDir folder;
    copyFile(pngFrame(3), folder.file("s.0003.png"));
    setFile(folder.file("s.####.png"));
    setTime(3);
    refresh();
    ASSERT_TRUE(drewMesh());

    std::remove(folder.file("s.0003.png").c_str());
    ASSERT_EQ(plug("keyframeInterval").setInt(7), MStatus::kSuccess);
    ASSERT_EQ(plug("frameRatio").setDouble(3.0), MStatus::kSuccess);
    refresh();
    refresh();
    EXPECT_TRUE(drewMesh());
    EXPECT_EQ(drawnTexture().pixels, pngPixels(3));
    EXPECT_EQ(plug("keyframeInterval").asInt(), 7);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 3.0);
}

TEST_F(ImageSequence, SequenceWithoutFilesShowsTheCard) {
    setFile(frameprep::pngSequence());
    setTime(1);
    refresh();
    const std::size_t liveWithPicture = host::textureStats().live;
    ASSERT_TRUE(drewMesh());

    testsupport::TempDir empty;
    setFile(empty.file("gone.####.png"));
    refresh();
    EXPECT_TRUE(drewCard());
    EXPECT_EQ(host::textureStats().live, liveWithPicture);

    setFile(frameprep::pngSequence());
    setTime(2);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, pngPixels(2));
}

// The picture of a frame held in place of a missing one: crossed in red from corner to corner.
std::vector<std::uint8_t> heldPixels(int frame) {
    std::vector<std::uint8_t> pixels = pngPixels(frame);
    video::drawHeldFrameMark(pixels.data(), 64, 48);
    return pixels;
}

// Frames 1, 2 and 5 of the shared sequence, with a gap at 3 and 4.
class HeldGap : public ImageSequence {
protected:
    void SetUp() override {
        ImageSequence::SetUp();
        for (int frame : {1, 2, 5}) {
            copyFile(pngFrame(frame), folder.file("g.000" + std::to_string(frame) + ".png"));
        }
        setFile(folder.file("g.####.png"));
        host::resetMessageCounts();
    }

    testsupport::TempDir folder;
};

// Each missing file is named in one warning, and an unreadable one as such.
TEST_F(HeldGap, EachMissingOrUnreadableFileIsNamedInOneWarning) {
    for (int frame : {3, 4, 3, 5, 3, 4}) {
        setTime(frame);
        refresh();
        run("flushIdleQueue");
    }
    EXPECT_EQ(host::messageCounts().warnings, 2);
    EXPECT_NE(host::lastMessage(host::MessageKind::kWarning).find(folder.file("g.0004.png")),
              std::string::npos)
        << host::lastMessage(host::MessageKind::kWarning);

    testsupport::writeFile(folder.file("g.0006.png"), "not a picture");
    setTime(6);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, heldPixels(5));
    run("flushIdleQueue");
    EXPECT_NE(host::lastMessage(host::MessageKind::kWarning).find("g.0006.png cannot be read"),
              std::string::npos)
        << host::lastMessage(host::MessageKind::kWarning);
}

// Two BMP files of the same size, so that one can be written over the other unnoticed by size.
TEST_F(ImageSequence, FrameRewrittenWithItsModificationTimePutBackIsReadAgain) {
    testsupport::TempDir folder;
    const std::string red = folder.file("red.bmp");
    const std::string blue = folder.file("blue.bmp");
    testsupport::makeMedia("-f lavfi -i color=red:s=16x16 -frames:v 1", red);
    testsupport::makeMedia("-f lavfi -i color=blue:s=16x16 -frames:v 1", blue);
    ASSERT_EQ(testsupport::readFile(red).size(), testsupport::readFile(blue).size());
    const std::string frameOne = folder.file("m.0001.bmp");
    copyFile(red, frameOne);
    copyFile(red, folder.file("m.0002.bmp"));
    setFile(folder.file("m.####.bmp"));
    setTime(1);
    refresh();
    ASSERT_EQ(drawnTexture().pixels, rgbaOf(red));
    setTime(2);
    refresh();

    struct stat before {};
    ASSERT_EQ(stat(frameOne.c_str(), &before), 0);
    copyFile(blue, frameOne);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, frameOne.c_str(), times, 0), 0);
    setTime(1);
    refresh();
    EXPECT_EQ(drawnTexture().pixels, rgbaOf(blue));
}

// A two-frame sequence whose second frame is not a picture.
class FailedRead : public ImageSequence {
protected:
    void SetUp() override {
        ImageSequence::SetUp();
        copyFile(pngFrame(1), folder.file("b.0001.png"));
        testsupport::writeFile(folder.file("b.0002.png"), "not a picture");
        setFile(folder.file("b.####.png"));
    }

    // Shows frame 1, then the unreadable frame 2.
    void showGoodThenUnreadableFrame() {
        setTime(1);
        refresh();
        ASSERT_EQ(plug("keyframeInterval").asInt(), 1);
        setTime(2);
        refresh();
    }

    testsupport::TempDir folder;
};

TEST_F(FailedRead, UnreadableImageWithNothingToHoldShowsTheCard) {
    showGoodThenUnreadableFrame();
    ASSERT_EQ(drawnTexture().pixels, heldPixels(1));
    std::remove(folder.file("b.0001.png").c_str());
    setTime(3);
    refresh();
    setTime(2);
    refresh();
    EXPECT_TRUE(drewCard());
    EXPECT_EQ(plug("keyframeInterval").asInt(), 1);

    // Nothing counts as loaded after the failed read, so the next refresh reads frame 2 again.
    copyFile(pngFrame(2), folder.file("b.0002.png"));
    refresh();
    EXPECT_EQ(drawnTexture().pixels, pngPixels(2));
}

TEST_F(FailedRead, GammaChangeReadsTheImageAgain) {
    std::remove(folder.file("b.0001.png").c_str());
    setTime(2);
    refresh();
    ASSERT_TRUE(drewCard());
    copyFile(pngFrame(1), folder.file("b.0001.png"));

    // The texture is the card: the new gamma needs a read, not an upload of what is held.
    setTime(1);
    ASSERT_EQ(plug("gamma").setFloat(0.5f), MStatus::kSuccess);
    refresh();
    const Texture texture = drawnTexture();
    EXPECT_EQ(texture.width, 64);
    EXPECT_EQ(texture.pixels, frameprep::withGamma(pngPixels(1), 0.5f));
}

TEST_F(ImageSequence, CacheResolutionNeverShrinksImages) {
    setFile(frameprep::pngSequence());
    for (short resolution : {1, 2}) {
        ASSERT_EQ(plug("cacheResolution").setShort(resolution), MStatus::kSuccess);
        setTime(resolution);
        refresh();
        const Texture texture = drawnTexture();
        EXPECT_EQ(texture.width, 64);
        EXPECT_EQ(texture.height, 48);
        EXPECT_EQ(texture.pixels, pngPixels(resolution));
    }
}

// Following the configuration in force as the loaded plug-in does.
class ColourSpaceName : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        ASSERT_EQ(registerColorSpaceCallbacks(), MStatus::kSuccess);
    }
    void TearDown() override {
        deregisterColorSpaceCallbacks();
        SheetFixture::TearDown();
    }
    MString shownName() {
        const auto* data = dynamic_cast<const CineSheetData*>(host::keptDrawData(sheet));
        return data != nullptr ? data->colorSpaceName() : MString("<no draw data>");
    }
    // A refresh that gets past the unchanged test.
    void refreshAt(double time) {
        setTime(time);
        refresh();
    }
};

// The texture is given the chosen field's name, or the file rules' space for the file, or none.
TEST_F(ColourSpaceName, IsTheChosenFieldsOrTheFileRulesOrEmpty) {
    run("hostConfig -inputSpaceNames \"sRGB,Raw,ACEScg\" -fileRule \"*.png\" \"ACEScg\"");
    setFile(frameprep::pngSequence());
    refreshAt(1);
    EXPECT_EQ(shownName(), "ACEScg");
    const struct {
        const char* field;
        const char* name;
    } cases[] = {{"Raw", "Raw"}, {"None", ""}, {"sRGB", "sRGB"}, {"From File Rules", "ACEScg"}};
    double time = 2;
    for (const auto& chosen : cases) {
        const short field = MFnEnumAttribute(CineSheet::aColorSpace).fieldIndex(chosen.field);
        ASSERT_EQ(plug("colorSpace").setShort(field), MStatus::kSuccess);
        refreshAt(time++);
        EXPECT_EQ(shownName(), chosen.name) << chosen.field;
    }
}

TEST_F(ColourSpaceName, FailedQueryIsAskedAgainLater) {
    run("hostConfig -inputSpaceNames \"sRGB,Raw\" -fault colorManagementQuery on");
    setFile(frameprep::pngSequence());
    ASSERT_EQ(plug("colorSpace").setShort(2), MStatus::kSuccess);
    refreshAt(1);
    EXPECT_EQ(shownName(), "");
    EXPECT_TRUE(drewMesh());

    run("hostConfig -resetFaults");
    refreshAt(2);
    EXPECT_EQ(shownName(), "Raw");
}

}  // namespace
