#include "Media.h"
#include "SheetFixture.h"

#include <host/DrawRecording.h>
#include <host/Textures.h>
#include <host/Viewport.h>

#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>

#include <cstdint>
#include <vector>

namespace {

using namespace frameprep;

// The node under "sheet", instanced under "sheet1": one node, drawn once per path.
class Instances : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        run("instance sheet");
        ASSERT_EQ(MDagPath::getAllPathsTo(sheet, paths), MStatus::kSuccess);
        ASSERT_EQ(paths.length(), 2u);
        setFile(video());
    }

    // The texture drawn for the path at the latest refresh (empty when none).
    static Texture textureOf(const MDagPath& path) {
        Texture texture;
        for (const host::DrawCall& call : host::latestDrawCalls(path)) {
            if (call.kind == host::DrawCall::Kind::SetTexture) {
                host::readTexturePixels(call.texture, &texture.width, &texture.height,
                                        &texture.pixels);
            }
        }
        return texture;
    }

    static MHWRender::MTexture* drawnTextureObject(const MDagPath& path) {
        MHWRender::MTexture* texture = nullptr;
        for (const host::DrawCall& call : host::latestDrawCalls(path)) {
            if (call.kind == host::DrawCall::Kind::SetTexture) {
                texture = call.texture;
            }
        }
        return texture;
    }

    static const std::vector<std::uint8_t>& expectedFrame(int frame) {
        static const testsupport::ReferenceVideo reference = testsupport::referenceDecode(video());
        static std::vector<std::vector<std::uint8_t>> rgba;
        if (rgba.empty()) {
            for (const auto& rgb : reference.frames) {
                rgba.push_back(
                    testsupport::pointSampledRgba(rgb, reference.width, reference.height, 1));
            }
        }
        return rgba.at(static_cast<size_t>(frame));
    }

    MDagPathArray paths;
};

// Playing on, then scrubbing back and forth: each instance shows the tool's frame, each from a
// texture of its own, and the instances share one draw override and so one decoder.
TEST_F(Instances, EveryInstanceShowsTheFrameScrubbingAndPlaying) {
    for (int frame : {0, 1, 2, 3, 4, 20, 7, 40, 41, 9, 8}) {
        setTime(frame);
        refresh();
        for (unsigned int i = 0; i < paths.length(); ++i) {
            ASSERT_TRUE(textureOf(paths[i]).pixels == expectedFrame(frame))
                << "instance " << i << " at frame " << frame;
        }
        EXPECT_NE(drawnTextureObject(paths[0]), drawnTextureObject(paths[1]));
    }
    EXPECT_EQ(host::drawOverrideCount(), 1u);
    EXPECT_EQ(host::textureStats().live, 2u);
    EXPECT_EQ(host::textureStats().badReleases, 0u);
}

// A texture goes with the draw data that owns it, and the other instance keeps drawing its own.
TEST_F(Instances, DeletingAnInstanceReleasesOnlyItsTexture) {
    setTime(3);
    refresh();
    ASSERT_EQ(host::textureStats().live, 2u);
    const MDagPath kept = paths[0];
    run("delete sheet1");
    refresh();
    EXPECT_EQ(host::textureStats().live, 1u);
    EXPECT_EQ(host::textureStats().badReleases, 0u);
    EXPECT_TRUE(textureOf(kept).pixels == expectedFrame(3));
    setTime(4);
    refresh();
    EXPECT_TRUE(textureOf(kept).pixels == expectedFrame(4));

    run("instance sheet");
    refresh();
    MDagPathArray now;
    ASSERT_EQ(MDagPath::getAllPathsTo(sheet, now), MStatus::kSuccess);
    ASSERT_EQ(now.length(), 2u);
    EXPECT_TRUE(textureOf(now[1]).pixels == expectedFrame(4)) << "a new instance, same frame";
    EXPECT_EQ(host::textureStats().live, 2u);
}

}  // namespace
