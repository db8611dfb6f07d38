#include <maya/MUIDrawManager.h>
#include <maya/MViewport2Renderer.h>

#include <host/DrawRecording.h>

#include <gtest/gtest.h>

namespace {

using namespace MHWRender;
using Kind = host::DrawCall::Kind;

TEST(DrawManager, RecordsEveryCallInOrderWithItsArguments) {
    host::DrawRecorder recorder;
    MUIDrawManager& manager = recorder.manager();
    auto* texture = reinterpret_cast<MTexture*>(0x1234);
    MPointArray positions;
    positions.append(-1, -1);
    positions.append(1, -1);
    positions.append(1, 1);
    MPointArray texCoords;
    texCoords.append(0, 0);
    texCoords.append(1, 0);
    texCoords.append(1, 1);

    manager.beginDrawable(MUIDrawManager::kAutomatic, 7);
    manager.setTexture(texture);
    manager.setTextureSampler(MSamplerState::kMinMagMipLinear, MSamplerState::kTexClamp);
    manager.setTextureMask(MBlendState::kRGBAChannels);
    manager.mesh(MUIDrawManager::kTriangles, positions, nullptr, nullptr, nullptr, &texCoords);
    manager.mesh(MUIDrawManager::kTriStrip, positions);
    manager.endDrawable();

    const auto& calls = recorder.calls();
    ASSERT_EQ(calls.size(), 7u);
    std::vector<Kind> kinds;
    for (const auto& call : calls) {
        kinds.push_back(call.kind);
    }
    EXPECT_EQ(kinds,
              (std::vector<Kind>{Kind::BeginDrawable, Kind::SetTexture, Kind::SetTextureSampler,
                                 Kind::SetTextureMask, Kind::Mesh, Kind::Mesh, Kind::EndDrawable}));
    EXPECT_EQ(calls[0].selectability, MUIDrawManager::kAutomatic);
    EXPECT_EQ(calls[0].selectionName, 7u);
    EXPECT_EQ(calls[1].texture, texture);
    EXPECT_EQ(calls[2].filter, MSamplerState::kMinMagMipLinear);
    EXPECT_EQ(calls[2].address, MSamplerState::kTexClamp);
    EXPECT_EQ(calls[3].mask, MBlendState::kRGBAChannels);
    EXPECT_EQ(calls[4].primitive, MUIDrawManager::kTriangles);
    EXPECT_EQ(calls[4].positions.length(), 3u);
    EXPECT_EQ(calls[4].positions[1], MPoint(1, -1));
    ASSERT_TRUE(calls[4].hasTexCoords);
    EXPECT_EQ(calls[4].texCoords[2], MPoint(1, 1));
    EXPECT_FALSE(calls[4].hasNormals || calls[4].hasColors || calls[4].hasIndices);
    EXPECT_FALSE(calls[5].hasTexCoords);
    EXPECT_EQ(std::string(host::drawCallName(calls[6].kind)), "endDrawable");

    recorder.clear();
    EXPECT_TRUE(recorder.calls().empty());
}

TEST(DrawManager, DrawablesAreSelectableAutomaticallyUnlessTold) {
    host::DrawRecorder recorder;
    recorder.manager().beginDrawable();
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    recorder.manager().beginDrawable(5, true);
    recorder.manager().beginDrawable(6, false);
#pragma GCC diagnostic pop
    const auto& calls = recorder.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].selectability, MUIDrawManager::kAutomatic);
    EXPECT_EQ(calls[0].selectionName, 0u);
    EXPECT_EQ(calls[1].selectability, MUIDrawManager::kSelectable);
    EXPECT_EQ(calls[1].selectionName, 5u);
    EXPECT_EQ(calls[2].selectability, MUIDrawManager::kNonSelectable);
}

#if MAYA_API_VERSION >= 20230000
TEST(DrawManager, TextureCarriesItsColourSpaceAndDiscardThreshold) {
    host::DrawRecorder recorder;
    auto* texture = reinterpret_cast<MTexture*>(0x1234);
    recorder.manager().setTexture(texture);
    recorder.manager().setTexture(texture, "Raw", 0.5f);
    const auto& calls = recorder.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].inputColorSpace, MString());
    EXPECT_EQ(calls[0].alphaDiscardThreshold, 0.05f);
    EXPECT_EQ(calls[1].inputColorSpace, MString("Raw"));
    EXPECT_EQ(calls[1].alphaDiscardThreshold, 0.5f);
}
#endif

// Only point or linear filtering, wrapped or clamped, and the whole, colour-only or alpha-only
// masks are supported; the rest is refused and changes nothing.
TEST(DrawManager, UnsupportedSamplersAndMasksAreRefused) {
    host::DrawRecorder recorder;
    MUIDrawManager& manager = recorder.manager();
    for (auto filter : {MSamplerState::kMinMagMipPoint, MSamplerState::kMinMagMipLinear}) {
        for (auto address : {MSamplerState::kTexWrap, MSamplerState::kTexClamp}) {
            EXPECT_EQ(manager.setTextureSampler(filter, address), MStatus::kSuccess);
        }
    }
    for (auto mask :
         {MBlendState::kRGBAChannels, MBlendState::kRGBChannels, MBlendState::kAlphaChannel}) {
        EXPECT_EQ(manager.setTextureMask(mask), MStatus::kSuccess);
    }
    const std::size_t accepted = recorder.calls().size();
    EXPECT_EQ(accepted, 7u);

    for (auto filter : {MSamplerState::kMinMagPoint_MipLinear,
                        MSamplerState::kMinMagLinear_MipPoint, MSamplerState::kAnisotropic}) {
        EXPECT_EQ(manager.setTextureSampler(filter, MSamplerState::kTexClamp),
                  MStatus::kInvalidParameter);
    }
    for (auto address : {MSamplerState::kTexMirror, MSamplerState::kTexBorder}) {
        EXPECT_EQ(manager.setTextureSampler(MSamplerState::kMinMagMipLinear, address),
                  MStatus::kInvalidParameter);
    }
    for (auto mask : {MBlendState::kNoChannels, MBlendState::kRedChannel,
                      static_cast<MBlendState::ChannelMask>(MBlendState::kRedChannel |
                                                            MBlendState::kAlphaChannel)}) {
        EXPECT_EQ(manager.setTextureMask(mask), MStatus::kInvalidParameter);
    }
    EXPECT_EQ(recorder.calls().size(), accepted);
}

TEST(DrawManager, ColourFontAndTextAreRecorded) {
    host::DrawRecorder recorder;
    MUIDrawManager& manager = recorder.manager();
    manager.beginDrawable();
    manager.setColor(MColor(0.25f, 0.5f, 0.75f, 0.4f));
    manager.setFontSize(20);
    manager.text(MPoint(1, 2, 3), "frame 12", MUIDrawManager::kRight);
    manager.endDrawable();
    const std::vector<host::DrawCall>& calls = recorder.calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[1].kind, host::DrawCall::Kind::SetColor);
    EXPECT_EQ(calls[1].color, MColor(0.25f, 0.5f, 0.75f, 0.4f));
    EXPECT_EQ(calls[2].fontSize, 20u);
    EXPECT_EQ(calls[3].kind, host::DrawCall::Kind::Text);
    EXPECT_STREQ(calls[3].text.asChar(), "frame 12");
    EXPECT_EQ(calls[3].alignment, MUIDrawManager::kRight);
    EXPECT_DOUBLE_EQ(calls[3].textPosition.z, 3.0);
    EXPECT_FALSE(calls[3].hasBackground);
    EXPECT_EQ(MColor(), MColor(0.0f, 0.0f, 0.0f, 1.0f));
}

}  // namespace
