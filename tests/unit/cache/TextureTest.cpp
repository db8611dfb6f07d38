#include "CacheMedia.h"
#include "SheetFixture.h"

#include "node/CineSheet.h"

#include <host/DrawRecording.h>
#include <host/Faults.h>
#include <host/Textures.h>

#include <maya/MStringArray.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

using Kind = host::DrawCall::Kind;

class Textures : public SheetFixture {};

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
    ASSERT_EQ(data.positions.length(), 6u);
    const double corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    for (unsigned int i = 0; i < 6; ++i) {
        EXPECT_EQ(data.positions[i].x, corners[i][0] * halfWidth) << i;
        EXPECT_EQ(data.positions[i].y, corners[i][1]) << i;
        EXPECT_EQ(data.positions[i].z, 0.0) << i;
        EXPECT_EQ(data.positions[i].w, 1.0) << i;
    }
}

std::vector<Kind> kinds(const std::vector<host::DrawCall>& calls) {
    std::vector<Kind> result;
    for (const host::DrawCall& call : calls) {
        result.push_back(call.kind);
    }
    return result;
}

TEST_F(Textures, freshDrawDataHasTheUnitQuadAndNoTexture) {
    CineSheetData& data = makeData();
    EXPECT_EQ(data.texture, nullptr);
    expectQuad(data, 1.0);
    const double uv[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
    ASSERT_EQ(data.texCoords.length(), 6u);
    for (unsigned int i = 0; i < 6; ++i) {
        EXPECT_EQ(data.texCoords[i], MPoint(uv[i][0], uv[i][1], 0.0, 1.0)) << i;
    }
}

TEST_F(Textures, overrideAnswersTheHostsQuestions) {
    CineSheetDrawOverride& sheet = makeSheet();
    EXPECT_EQ(static_cast<int>(sheet.supportedDrawAPIs()), 7);
    EXPECT_TRUE(sheet.hasUIDrawables());

    MPlugArray plugs;
    EXPECT_TRUE(CineSheetDrawOverride::getLocatorAttrData(node, MStringArray(), plugs));
    EXPECT_EQ(plugs.length(), 0u);
    MStringArray names;
    for (const char* name : {"file", "cacheFrames", "noSuchAttribute", "gamma"}) {
        names.append(name);
    }
    EXPECT_FALSE(CineSheetDrawOverride::getLocatorAttrData(node, names, plugs));
    ASSERT_EQ(plugs.length(), 2u);
    EXPECT_TRUE(plugs[1] == CineSheet::aCacheFrames);
}

// Nothing loaded: a 10 by 10 placeholder, divided like any frame, on a square.
TEST_F(Textures, placeholderSizesFollowTheDivisor) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    const int expectedSide[] = {10, 5, 2};
    const int divisors[] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        sheet.medium.frameWidth = 0;
        sheet.resolutionDivisor = divisors[i];
        ASSERT_TRUE(sheet.createTexture(&data));
        sheet.defaultImage(&data);
        const TexturePixels pixels = texturePixels(data);
        EXPECT_EQ(pixels.width, expectedSide[i]);
        EXPECT_EQ(pixels.height, expectedSide[i]);
        EXPECT_EQ(pixels.bytes, std::vector<uint8_t>(pixels.bytes.size(), 0));
        EXPECT_EQ(sheet.medium.keyframeInterval, 0);
        expectQuad(data, 1.0);
        EXPECT_EQ(sheet.texture, data.texture);
    }
    EXPECT_EQ(host::textureStats().live, 1u);
}

TEST_F(Textures, sizesComeFromTheFullFrame) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    sheet.medium.frameWidth = 1921;
    sheet.medium.frameHeight = 1081;
    sheet.resolutionDivisor = 2;
    ASSERT_TRUE(sheet.createTexture(&data));
    const MHWRender::MTextureDescription& description = data.textureDescription;
    EXPECT_EQ(description.fWidth, 960u);
    EXPECT_EQ(description.fHeight, 540u);
    EXPECT_EQ(description.fDepth, 1u);
    EXPECT_EQ(description.fBytesPerRow, 960u * 4);
    EXPECT_EQ(description.fBytesPerSlice, 960u * 4 * 540);
    EXPECT_EQ(description.fMipmaps, 1u);
    EXPECT_EQ(description.fArraySlices, 1u);
    EXPECT_EQ(description.fFormat, MHWRender::kR8G8B8A8_UNORM);
    EXPECT_EQ(description.fTextureType, MHWRender::kImage2D);
    EXPECT_EQ(texturePixels(data).width, 960);
    // A single level: no mipmap chain is asked for that no upload would generate.
    MHWRender::MTextureDescription held;
    data.texture->textureDescription(held);
    EXPECT_EQ(held.fMipmaps, 1u);

    sheet.medium.frameWidth = 1920;
    sheet.medium.frameHeight = 1080;
    sheet.resolutionDivisor = 1;
    ASSERT_TRUE(sheet.createTexture(&data));
    EXPECT_EQ(texturePixels(data).width, 1920);
    expectQuad(data, static_cast<double>(1920.0f / 1080.0f));
    EXPECT_NEAR(data.positions[1].x, 1.7777778, 1e-7);
    EXPECT_EQ(host::textureStats().live, 1u);
}

// Making the texture again keeps the cached frames and the queued job; a new cache resolution
// empties the store, forgets the job and asks again even for the same block, and makes the
// texture again at the next refresh.
TEST_F(Textures, onlyANewResolutionEmptiesTheStore) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    sheet.medium.frameWidth = 64;
    sheet.medium.frameHeight = 32;
    ASSERT_TRUE(sheet.createTexture(&data));
    auto* frame = static_cast<unsigned char*>(std::malloc(64 * 32 * 4));
    cacheOf(sheet).blocks[3] = {frame, nullptr};
    cacheOf(sheet).lastQueuedBlock = 3;
    cacheOf(sheet).jobs.push(CachingJob{});

    ASSERT_TRUE(sheet.createTexture(&data));
    EXPECT_EQ(cacheOf(sheet).blocks.size(), 1u);
    EXPECT_EQ(cacheOf(sheet).lastQueuedBlock, 3);
    EXPECT_EQ(cacheOf(sheet).jobs.size(), 1u);

    setDivisor(sheet, 2);
    EXPECT_TRUE(cacheOf(sheet).blocks.empty());
    EXPECT_EQ(cacheOf(sheet).lastQueuedBlock, -1);
    EXPECT_TRUE(cacheOf(sheet).jobs.empty());
    EXPECT_TRUE(sheet.textureRebuild);
    ASSERT_TRUE(sheet.createTexture(&data));
    EXPECT_FALSE(sheet.textureRebuild);
    EXPECT_EQ(texturePixels(data).width, 32);
}

TEST_F(Textures, gammaTableCorrectsColourButNotAlpha) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    // A missing file still builds the table and leaves the placeholder.
    showFrame(sheet, data, "/nonexistent/clip.mp4", 0, 120, 2.0f);
    EXPECT_EQ(sheet.tableGamma, 2.0);
    EXPECT_EQ(sheet.gammaTable[0], 0);
    EXPECT_EQ(sheet.gammaTable[128], 64);
    EXPECT_EQ(sheet.gammaTable[255], 255);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(sheet.gammaTable[i], static_cast<unsigned char>(powf(i / 255.0f, 2.0f) * 255.0f))
            << i;
    }
    std::vector<uint8_t> source(10 * 10 * 4);
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<uint8_t>(i % 2 ? 128 : 255);
    }
    ASSERT_TRUE(sheet.updateTexture(&data, source.data()));
    std::vector<uint8_t> bytes = texturePixels(data).bytes;
    ASSERT_EQ(bytes.size(), source.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool alpha = i % 4 == 3;
        ASSERT_EQ(bytes[i], alpha || source[i] == 255 ? source[i] : 64) << i;
    }

    showFrame(sheet, data, "/nonexistent/clip.mp4", 0, 120, 1.0f);
    ASSERT_TRUE(sheet.updateTexture(&data, source.data()));
    EXPECT_EQ(texturePixels(data).bytes, source);

    // A gamma that is not a number still gives a defined table.
    showFrame(sheet, data, "/nonexistent/clip.mp4", 0, 120,
              std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isnan(sheet.tableGamma));
    EXPECT_EQ(sheet.gammaTable[128], 0);
}

// The corrected copy is reused from frame to frame: each upload shows its own frame, also after
// the frame size changes.
TEST_F(Textures, gammaCorrectedFramesFollowEachOtherAcrossSizes) {
    const testsupport::ReferenceVideo& reference = cachetest::reference("blocks_of_12");
    const std::string& path = cachetest::mediaPath("blocks_of_12");
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    const struct {
        int divisor;
        int frame;
    } steps[] = {{1, 0}, {1, 1}, {1, 30}, {2, 31}, {2, 5}, {1, 6}};
    for (const auto& step : steps) {
        if (step.divisor != sheet.resolutionDivisor) {
            setDivisor(sheet, step.divisor);
        }
        showFrame(sheet, data, path, step.frame, 36, 0.5f);
        std::vector<uint8_t> expected =
            testsupport::pointSampledRgba(reference.frames[static_cast<size_t>(step.frame)],
                                          reference.width, reference.height, step.divisor);
        for (size_t i = 0; i < expected.size(); ++i) {
            if (i % 4 != 3) {
                expected[i] = sheet.gammaTable[expected[i]];
            }
        }
        ASSERT_TRUE(texturePixels(data).bytes == expected)
            << "frame " << step.frame << " at 1/" << step.divisor;
    }
}

TEST_F(Textures, drawsTheTexturedQuadOrAnEmptyDrawable) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    host::DrawRecorder recorder;
    const MDagPath path;
    const TestFrameContext context;

    sheet.addUIDrawables(path, recorder.manager(), context, nullptr);
    MUserData foreign;
    sheet.addUIDrawables(path, recorder.manager(), context, &foreign);
    EXPECT_TRUE(recorder.calls().empty());

    sheet.addUIDrawables(path, recorder.manager(), context, &data);
    EXPECT_EQ(kinds(recorder.calls()), (std::vector<Kind>{Kind::BeginDrawable, Kind::EndDrawable}));

    recorder.clear();
    sheet.medium.frameWidth = 40;
    sheet.medium.frameHeight = 20;
    ASSERT_TRUE(sheet.createTexture(&data));
    data.colorSpaceName = "Raw";
    sheet.addUIDrawables(path, recorder.manager(), context, &data);
    const std::vector<host::DrawCall>& calls = recorder.calls();
    ASSERT_EQ(kinds(calls),
              (std::vector<Kind>{Kind::BeginDrawable, Kind::SetTexture, Kind::SetTextureSampler,
                                 Kind::SetTextureMask, Kind::Mesh, Kind::EndDrawable}));
    EXPECT_EQ(calls[0].selectability, MHWRender::MUIDrawManager::kAutomatic);
    EXPECT_EQ(calls[0].selectionName, 0u);
    EXPECT_EQ(calls[1].texture, data.texture);
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
    EXPECT_TRUE(samePoints(calls[4].positions, data.positions));
    EXPECT_TRUE(samePoints(calls[4].texCoords, data.texCoords));
    EXPECT_TRUE(calls[4].hasTexCoords);
    EXPECT_FALSE(calls[4].hasNormals || calls[4].hasColors || calls[4].hasIndices);
    EXPECT_EQ(calls[4].positions[1].x, 2.0);
}

TEST_F(Textures, releasingFollowsTheDrawData) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    CineSheetData& other = makeData();
    ASSERT_TRUE(sheet.createTexture(&data));
    MHWRender::MTexture* shown = sheet.texture;
    sheet.clearTexture(&other);
    EXPECT_EQ(sheet.texture, shown);
    sheet.clearTexture(&data);
    EXPECT_EQ(sheet.texture, nullptr);
    EXPECT_EQ(data.texture, nullptr);
    EXPECT_EQ(host::textureStats().live, 0u);
    EXPECT_FALSE(sheet.updateTexture(&data, nullptr));
}

TEST_F(Textures, destroyingTheOverrideReleasesItsLastTexture) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    ASSERT_TRUE(sheet.createTexture(&data));
    ASSERT_TRUE(sheet.createTexture(&data));
    EXPECT_EQ(host::textureStats().live, 1u);
    destroySheet(sheet);
    EXPECT_EQ(host::textureStats().live, 0u);
    EXPECT_EQ(host::textureStats().released, 2u);
}

TEST_F(Textures, hostTextureFaultsLeaveNothingDrawnAndNothingLeaked) {
    CineSheetDrawOverride& sheet = makeSheet();
    CineSheetData& data = makeData();
    ASSERT_TRUE(sheet.createTexture(&data));
    std::vector<uint8_t> frame(10 * 10 * 4, 7);

    host::setFault(host::fault::kTextureUpdate, true);
    EXPECT_FALSE(sheet.updateTexture(&data, frame.data()));
    host::setFault(host::fault::kTextureUpdate, false);

    host::setFault(host::fault::kTextureAcquire, true);
    EXPECT_TRUE(sheet.createTexture(&data));
    EXPECT_EQ(data.texture, nullptr);
    EXPECT_EQ(sheet.texture, nullptr);
    EXPECT_FALSE(sheet.updateTexture(&data, frame.data()));
    sheet.defaultImage(&data);
    host::DrawRecorder recorder;
    sheet.addUIDrawables(MDagPath(), recorder.manager(), TestFrameContext(), &data);
    EXPECT_EQ(kinds(recorder.calls()), (std::vector<Kind>{Kind::BeginDrawable, Kind::EndDrawable}));
    EXPECT_EQ(host::textureStats().live, 0u);
}

}  // namespace
