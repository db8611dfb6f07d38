#include "MediaCatalogue.h"
#include "SheetFixture.h"

#include <host/DrawRecording.h>
#include <host/Viewport.h>

namespace {

testsupport::MediaCatalogue& media() {
    static testsupport::MediaCatalogue catalogue({});
    return catalogue;
}

class FootageShape : public SheetFixture {
protected:
    void show(const std::string& file, int frame) {
        setFile(file);
        setTime(frame);
        refresh();
    }

    // Half the width of the quad drawn at the latest refresh (its height is 2).
    double quadHalfWidth() const {
        for (const host::DrawCall& call : host::latestDrawCalls(sheet)) {
            if (call.kind == host::DrawCall::Kind::Mesh && call.positions.length() == 6) {
                EXPECT_EQ(call.positions[2].y, 1.0);
                return call.positions[2].x;
            }
        }
        ADD_FAILURE() << "no quad drawn";
        return 0.0;
    }
};

// The plane takes the shape the picture is shown at; the texture keeps the stored pixels.
TEST_F(FootageShape, anamorphicVideoReportsItsDisplayAspect) {
    show(media().path("anamorphic"), 4);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 16.0 / 9.0);
    EXPECT_EQ(quadHalfWidth(), static_cast<double>(16.0f / 9.0f));
    const Texture texture = drawnTexture();
    EXPECT_EQ(texture.width, 144);
    EXPECT_EQ(texture.height, 108);
    const testsupport::ReferenceVideo& reference = media().reference("anamorphic");
    EXPECT_EQ(texture.pixels, testsupport::pointSampledRgba(reference.frames[4], 144, 108, 1));

    // Square pixels again for the next medium, whatever it is.
    show(frameprep::pngSequence(), 2);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 64.0 / 48.0);
    EXPECT_EQ(quadHalfWidth(), static_cast<double>(64.0f / 48.0f));
    show(media().path("anamorphic"), 5);
    show(media().path("unknown_sar"), 1);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 64.0 / 48.0);
}

TEST_F(FootageShape, turnedVideoReportsTheUprightShape) {
    ASSERT_EQ(plug("cacheResolution").setShort(1), MStatus::kSuccess);
    show(media().path("rotated_90"), 7);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 96.0 / 160.0);
    EXPECT_EQ(quadHalfWidth(), static_cast<double>(96.0f / 160.0f));
    const Texture texture = drawnTexture();
    EXPECT_EQ(texture.width, 48);
    EXPECT_EQ(texture.height, 80);

    show(media().path("anamorphic_rotated"), 3);
    EXPECT_DOUBLE_EQ(plug("frameRatio").asDouble(), 9.0 / 16.0);
    EXPECT_EQ(drawnTexture().width, 54);
    EXPECT_EQ(drawnTexture().height, 72);
}

}  // namespace
