#include "SheetFixture.h"

#include "draw/CineSheetData.h"
#include "draw/CineSheetDrawOverride.h"
#include "draw/GammaTable.h"
#include "draw/PlaceholderCard.h"
#include "picture/HalfFloat.h"

#include <host/DrawRecording.h>
#include <host/Faults.h>
#include <host/Textures.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using Kind = host::DrawCall::Kind;

// Draw data made by the test beside the fixture's node; every texture is released by the end.
class Textures : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        host::resetTextureCounters();
    }
    void TearDown() override {
        data_.clear();
        EXPECT_EQ(host::textureStats().live, 0u) << "textures left alive";
        SheetFixture::TearDown();
    }
    CineSheetData& makeData() { return *data_.emplace_back(std::make_unique<CineSheetData>()); }
    // The pixels of the draw data's texture; empty when it has none that is alive.
    static Texture texturePixels(const CineSheetData& data) {
        Texture texture;
        if (data.texture().get()) {
            host::readTexturePixels(data.texture().get(), &texture.width, &texture.height,
                                    &texture.pixels);
        }
        return texture;
    }

private:
    std::vector<std::unique_ptr<CineSheetData>> data_;
};

struct TestFrameContext : MHWRender::MFrameContext {
    TestFrameContext() : MHWRender::MFrameContext(MDagPath(), 640, 480) {}
};

bool samePoints(const MPointArray& a, const MPointArray& b) {
    if (a.length() != b.length()) {
        return false;
    }
    for (unsigned int i = 0; i < a.length(); ++i) {
        if (!(a[i] == b[i])) {
            return false;
        }
    }
    return true;
}

void expectQuad(const CineSheetData& data, double halfWidth) {
    ASSERT_EQ(data.positions().length(), 6u);
    const double corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    for (unsigned int i = 0; i < 6; ++i) {
        EXPECT_EQ(data.positions()[i].x, corners[i][0] * halfWidth) << i;
        EXPECT_EQ(data.positions()[i].y, corners[i][1]) << i;
        EXPECT_EQ(data.positions()[i].z, 0.0) << i;
        EXPECT_EQ(data.positions()[i].w, 1.0) << i;
    }
}

std::vector<Kind> kinds(const std::vector<host::DrawCall>& calls) {
    std::vector<Kind> result;
    for (const host::DrawCall& call : calls) {
        result.push_back(call.kind);
    }
    return result;
}

// The card is square until a picture gave the data a shape, then takes that shape; it is made
// once for a shape, is opaque, and is never taken for a picture's texture.
TEST_F(Textures, cardTakesTheLastShapeShown) {
    CineSheetData& data = makeData();
    ASSERT_TRUE(data.showCard(LoadedMedium{}));
    Texture pixels = texturePixels(data);
    EXPECT_EQ(pixels.width, kCardLongSide);
    EXPECT_EQ(pixels.height, kCardLongSide);
    EXPECT_EQ(pixels.pixels, cardPixels(kCardLongSide, kCardLongSide));
    for (size_t alpha = 3; alpha < pixels.pixels.size(); alpha += 4) {
        ASSERT_EQ(pixels.pixels[alpha], 255);
    }
    expectQuad(data, 1.0);
    const MHWRender::MTexture* square = data.texture().get();
    ASSERT_TRUE(data.showCard(LoadedMedium{}));
    EXPECT_EQ(data.texture().get(), square);

    const LoadedMedium wide{40, 20, AVRational{1, 1}, 0};
    ASSERT_TRUE(data.textureFor(wide, 2));
    ASSERT_TRUE(data.showCard(LoadedMedium{}));
    pixels = texturePixels(data);
    EXPECT_EQ(pixels.width, kCardLongSide);
    EXPECT_EQ(pixels.height, kCardLongSide / 2);
    expectQuad(data, 2.0);
    EXPECT_FALSE(data.texture().madeFor(wide, 2));
    ASSERT_TRUE(data.textureFor(wide, 2));
    EXPECT_FALSE(data.texture().isCard());
    EXPECT_EQ(host::textureStats().live, 1u);
}

TEST_F(Textures, sizesComeFromTheFullFrame) {
    CineSheetData& data = makeData();
    ASSERT_TRUE(data.textureFor(LoadedMedium{1921, 1081, AVRational{1, 1}, 0}, 2));
    MHWRender::MTextureDescription description;
    data.texture().get()->textureDescription(description);
    EXPECT_EQ(description.fWidth, 960u);
    EXPECT_EQ(description.fHeight, 540u);
    // A single level: no mipmap chain is asked for that no upload would generate.
    EXPECT_EQ(description.fMipmaps, 1u);
    // Sized from the full frame, as the cache stores it.
    EXPECT_EQ(data.texture().frameBytes(), 2076601u);

    MHWRender::MTexture* first = data.texture().get();
    ASSERT_TRUE(data.textureFor(LoadedMedium{1921, 1081, AVRational{1, 1}, 0}, 2));
    EXPECT_EQ(data.texture().get(), first) << "made again for the same picture";

    ASSERT_TRUE(data.textureFor(LoadedMedium{1920, 1080, AVRational{1, 1}, 0}, 1));
    EXPECT_EQ(texturePixels(data).width, 1920);
    expectQuad(data, static_cast<double>(1920.0f / 1080.0f));
    // Anamorphic pixels stretch the quad, not the texture.
    ASSERT_TRUE(data.textureFor(LoadedMedium{144, 108, AVRational{4, 3}, 0}, 1));
    EXPECT_EQ(texturePixels(data).width, 144);
    EXPECT_NEAR(data.positions()[1].x, 16.0 / 9.0, 1e-6);
    EXPECT_EQ(host::textureStats().live, 1u);
}

// Half-float frames get the power of each colour value, past 1 and below 0 included (mirrored
// there), rounded to half; alpha is left as it is, and gamma 1 copies nothing.
TEST(GammaTableTest, RaisesHalfFloatValuesToThePower) {
    const float values[] = {0.0f, 0.05f, 0.5f, 1.0f, 4.0f, -0.25f, 0.001f, 0.75f};
    std::vector<std::uint16_t> source;
    for (float value : values) {
        source.push_back(video::toHalf(value));
    }
    GammaTable gamma;
    gamma.setGamma(2.2f);
    const auto* corrected = reinterpret_cast<const std::uint16_t*>(
        gamma.apply(reinterpret_cast<const unsigned char*>(source.data()), source.size() * 2,
                    decode::TexelFormat::kRgbaHalf));
    for (std::size_t i = 0; i < source.size(); ++i) {
        const float value = video::fromHalf(source[i]);
        if (i % 4 == 3) {
            EXPECT_EQ(corrected[i], source[i]) << "alpha";
            continue;
        }
        const float expected = value < 0 ? -powf(-value, 2.2f) : powf(value, 2.2f);
        EXPECT_EQ(corrected[i], video::toHalf(expected)) << value;
    }
    EXPECT_NEAR(video::fromHalf(corrected[4]), powf(4.0f, 2.2f), 0.02f) << "past 1 is kept";
    gamma.setGamma(1.0f);
    const auto* unchanged = reinterpret_cast<const unsigned char*>(source.data());
    EXPECT_EQ(gamma.apply(unchanged, source.size() * 2, decode::TexelFormat::kRgbaHalf), unchanged);
}

// The corrected copy is reused from frame to frame: each upload shows its own frame, also after
// the cache resolution changes the frame size.
TEST_F(SheetFixture, gammaCorrectedFramesFollowEachOtherAcrossSizes) {
    const testsupport::ReferenceVideo reference = testsupport::referenceDecode(frameprep::video());
    setFile(frameprep::video());
    ASSERT_EQ(plug("gamma").setFloat(0.5f), MStatus::kSuccess);
    const struct {
        short resolution;
        int frame;
    } steps[] = {{0, 0}, {0, 1}, {0, 30}, {1, 31}, {1, 5}, {0, 6}};
    for (const auto& step : steps) {
        ASSERT_EQ(plug("cacheResolution").setShort(step.resolution), MStatus::kSuccess);
        setTime(step.frame);
        refresh();
        ASSERT_TRUE(drawnTexture().pixels ==
                    frameprep::withGamma(testsupport::pointSampledRgba(
                                             reference.frames.at(step.frame), reference.width,
                                             reference.height, 1 << step.resolution),
                                         0.5f))
            << "frame " << step.frame << " at resolution " << step.resolution;
    }
}

TEST_F(Textures, drawsTheTexturedQuadOrAnEmptyDrawable) {
    CineSheetDrawOverride override(sheet);
    CineSheetData& data = makeData();
    host::DrawRecorder recorder;
    const MDagPath path;
    const TestFrameContext context;

    override.addUIDrawables(path, recorder.manager(), context, nullptr);
    MUserData foreign;
    override.addUIDrawables(path, recorder.manager(), context, &foreign);
    EXPECT_TRUE(recorder.calls().empty());

    override.addUIDrawables(path, recorder.manager(), context, &data);
    EXPECT_EQ(kinds(recorder.calls()), (std::vector<Kind>{Kind::BeginDrawable, Kind::EndDrawable}));

    recorder.clear();
    ASSERT_TRUE(data.textureFor(LoadedMedium{40, 20, AVRational{1, 1}, 0}, 1));
    data.setColorSpaceName("Raw");
    override.addUIDrawables(path, recorder.manager(), context, &data);
    const std::vector<host::DrawCall>& calls = recorder.calls();
    ASSERT_EQ(kinds(calls),
              (std::vector<Kind>{Kind::BeginDrawable, Kind::SetTexture, Kind::SetTextureSampler,
                                 Kind::SetTextureMask, Kind::Mesh, Kind::EndDrawable}));
    EXPECT_EQ(calls[0].selectability, MHWRender::MUIDrawManager::kAutomatic);
    EXPECT_EQ(calls[0].selectionName, 0u);
    EXPECT_EQ(calls[1].texture, data.texture().get());
#if MAYA_API_VERSION >= 20230000
    EXPECT_EQ(calls[1].inputColorSpace, MString("Raw"));
    EXPECT_EQ(calls[1].alphaDiscardThreshold, 0.05f);
#else
    EXPECT_EQ(calls[1].inputColorSpace, MString());
#endif
    EXPECT_EQ(calls[2].filter, MHWRender::MSamplerState::kMinMagMipLinear);
    EXPECT_EQ(calls[2].address, MHWRender::MSamplerState::kTexClamp);
    EXPECT_EQ(calls[3].mask, MHWRender::MBlendState::kRGBAChannels);
    EXPECT_EQ(calls[4].primitive, MHWRender::MUIDrawManager::kTriangles);
    EXPECT_TRUE(samePoints(calls[4].positions, data.positions()));
    EXPECT_TRUE(samePoints(calls[4].texCoords, data.texCoords()));
    EXPECT_TRUE(calls[4].hasTexCoords);
    EXPECT_FALSE(calls[4].hasNormals || calls[4].hasColors || calls[4].hasIndices);
    EXPECT_EQ(calls[4].positions[1].x, 2.0);
}

TEST_F(Textures, hostTextureFaultsLeaveNothingDrawnAndNothingLeaked) {
    CineSheetDrawOverride override(sheet);
    CineSheetData& data = makeData();
    ASSERT_TRUE(data.textureFor(LoadedMedium{10, 10, AVRational{1, 1}, 0}, 1));
    std::vector<uint8_t> frame(10 * 10 * 4, 7);

    host::setFault(host::fault::kTextureUpdate, true);
    EXPECT_FALSE(data.texture().upload(frame.data()));
    host::setFault(host::fault::kTextureUpdate, false);

    host::setFault(host::fault::kTextureAcquire, true);
    EXPECT_FALSE(data.textureFor(LoadedMedium{12, 12, AVRational{1, 1}, 0}, 1));
    EXPECT_EQ(data.texture().get(), nullptr);
    EXPECT_FALSE(data.texture().upload(frame.data()));
    EXPECT_FALSE(data.texture().clear());
    EXPECT_FALSE(data.showCard(LoadedMedium{}));
    host::DrawRecorder recorder;
    override.addUIDrawables(MDagPath(), recorder.manager(), TestFrameContext(), &data);
    EXPECT_EQ(kinds(recorder.calls()), (std::vector<Kind>{Kind::BeginDrawable, Kind::EndDrawable}));
    EXPECT_EQ(host::textureStats().live, 0u);
}

}  // namespace
