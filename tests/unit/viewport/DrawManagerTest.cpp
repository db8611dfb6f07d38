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
    manager.setTextureMask(MBlendState::kAllChannels);
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
    EXPECT_EQ(calls[3].mask, MBlendState::kAllChannels);
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

// The plug-in writes these numbers; the host must read them as the plug-in means them.
TEST(DrawManager, EnumerationValuesFollowThePlugInApi) {
    EXPECT_EQ(MUIDrawManager::kAutomatic, 2);
    EXPECT_EQ(MUIDrawManager::kTriangles, 4);
    EXPECT_EQ(MSamplerState::kMinMagMipLinear, 21);
    EXPECT_EQ(MSamplerState::kTexClamp, 3);
    EXPECT_EQ(MBlendState::kAllChannels, 15);
    EXPECT_EQ(kR8G8B8A8_UNORM, 57);
    EXPECT_EQ(kImage2D, 6);
    EXPECT_EQ(kAllDevices, 7);
}

}  // namespace
