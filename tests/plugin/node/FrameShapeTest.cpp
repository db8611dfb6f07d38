#include "MediaCatalogue.h"
#include "decode/VideoSource.h"
#include "node/FrameShape.h"

#include <gtest/gtest.h>

#include <string>

namespace {

testsupport::MediaCatalogue& media() {
    static testsupport::MediaCatalogue catalogue({});
    return catalogue;
}

// The header gives the shape the video cache finds once it has opened the file and looked
// through it: the upright size and the pixel shape, for containers with the size in their header
// and without (MPEG-TS), turned pictures and anamorphic pixels.
TEST(FrameShape, VideoHeaderGivesTheShapeTheOpenedVideoHas) {
    for (const char* name : {"h264_mp4", "mpeg2_ts", "odd_1921x1081", "rotated_90", "anamorphic",
                             "unknown_sar", "anamorphic_rotated"}) {
        const std::string& path = media().path(name);
        video::VideoSource opened;
        ASSERT_TRUE(opened.open(path)) << name;
        const std::optional<FrameShape> shape = readVideoShape(path);
        ASSERT_TRUE(shape) << name;
        EXPECT_EQ(shape->width, opened.uprightWidth()) << name;
        EXPECT_EQ(shape->height, opened.uprightHeight()) << name;
        EXPECT_EQ(shape->pixelAspectNum, opened.uprightPixelAspect().num) << name;
        EXPECT_EQ(shape->pixelAspectDen, opened.uprightPixelAspect().den) << name;
    }
    const std::optional<FrameShape> anamorphic = readVideoShape(media().path("anamorphic"));
    ASSERT_TRUE(anamorphic);
    EXPECT_DOUBLE_EQ(anamorphic->ratio(), 16.0 / 9.0);
}

TEST(FrameShape, NoShapeForWhatIsNoVideo) {
    EXPECT_FALSE(readVideoShape(media().path("audio_only")));
    EXPECT_FALSE(readVideoShape(media().scratch().file("none.mp4")));
    const std::string text = media().scratch().file("text.mov");
    testsupport::writeFile(text, "not a video");
    EXPECT_FALSE(readVideoShape(text));
}

// Each image format the sequences are read in, made by the ffmpeg tool.
TEST(FrameShape, ImageHeaderGivesTheDecodedSize) {
    const testsupport::TempDir folder;
    for (const char* extension : {"png", "jpg", "exr", "dpx", "tga", "bmp", "tif", "sgi"}) {
        const std::string path = folder.file(std::string("still.") + extension);
        testsupport::makeMedia("-f lavfi -i testsrc2=s=78x46 -frames:v 1", path);
        const std::optional<FrameShape> shape = readImageShape(path);
        ASSERT_TRUE(shape) << extension;
        EXPECT_EQ(shape->width, 78) << extension;
        EXPECT_EQ(shape->height, 46) << extension;
        EXPECT_EQ(shape->pixelAspectNum, shape->pixelAspectDen) << extension;
    }
}

TEST(FrameShape, NoShapeForDamagedOrUnknownImages) {
    const testsupport::TempDir folder;
    const std::string png = folder.file("cut.png");
    testsupport::makeMedia("-f lavfi -i testsrc2=s=78x46 -frames:v 1", png);
    testsupport::writeFile(folder.file("short.png"), "\x89PNG\r\n\x1a\n");
    EXPECT_FALSE(readImageShape(folder.file("short.png")));
    testsupport::writeFile(folder.file("text.tga"), "no");
    EXPECT_FALSE(readImageShape(folder.file("text.tga")));
    testsupport::writeFile(folder.file("text.xyz"), "some text that is no picture at all");
    EXPECT_FALSE(readImageShape(folder.file("text.xyz")));
    EXPECT_FALSE(readImageShape(folder.file("missing.png")));
    EXPECT_FALSE(readImageShape(folder.path()));
}

}  // namespace
