#include <maya/MViewport2Renderer.h>

#include <host/Faults.h>
#include <host/Textures.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace MHWRender;

MTextureDescription rgbaDescription(unsigned int width, unsigned int height) {
    MTextureDescription description;
    description.setToDefault2DTexture();
    description.fWidth = width;
    description.fHeight = height;
    return description;
}

std::vector<std::uint8_t> countingBytes(std::size_t size, int start) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(start + i);
    }
    return bytes;
}

std::vector<std::uint8_t> pixelsOf(const MTexture* texture) {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    EXPECT_TRUE(host::readTexturePixels(texture, &width, &height, &pixels));
    return pixels;
}

class TextureManager : public ::testing::Test {
protected:
    void SetUp() override {
        manager = MRenderer::theRenderer(true)->getTextureManager();
        ASSERT_NE(manager, nullptr);
        host::resetTextureCounters();
        liveBefore = host::textureStats().live;
    }
    void TearDown() override {
        host::clearFaults();
        EXPECT_EQ(host::textureStats().live, liveBefore) << "a test leaked a texture";
    }

    MTextureManager* manager = nullptr;
    std::size_t liveBefore = 0;
};

TEST_F(TextureManager, TextureKeepsInitialPixelsAndUpdatesReplaceThem) {
    const auto initial = countingBytes(3 * 2 * 4, 0);
    MTexture* texture = manager->acquireTexture("", rgbaDescription(3, 2), initial.data(), false);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(pixelsOf(texture), initial);
    MTextureDescription kept;
    texture->textureDescription(kept);
    EXPECT_EQ(kept.fWidth, 3u);
    EXPECT_EQ(kept.fHeight, 2u);

    const auto next = countingBytes(initial.size(), 100);
    EXPECT_EQ(texture->update(next.data(), false, 0, nullptr), MStatus::kSuccess);
    EXPECT_EQ(pixelsOf(texture), next);

    // Rows with padding: only the first 12 bytes of each 16-byte row are pixels.
    std::vector<std::uint8_t> padded(2 * 16, 0xEE);
    std::copy(initial.begin(), initial.begin() + 12, padded.begin());
    std::copy(initial.begin() + 12, initial.end(), padded.begin() + 16);
    EXPECT_EQ(texture->update(padded.data(), false, 16), MStatus::kSuccess);
    EXPECT_EQ(pixelsOf(texture), initial);
    manager->releaseTexture(texture);
}

TEST_F(TextureManager, AcquisitionsAndReleasesAreCounted) {
    MTexture* first = manager->acquireTexture("a", rgbaDescription(4, 4), nullptr, false);
    MTexture* second = manager->acquireTexture("b", rgbaDescription(2, 2), nullptr, true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(pixelsOf(first), std::vector<std::uint8_t>(64, 0));
    EXPECT_EQ(host::textureStats().live, liveBefore + 2);
    manager->releaseTexture(first);
    manager->releaseTexture(second);
    const host::TextureStats stats = host::textureStats();
    EXPECT_EQ(stats.acquired, 2u);
    EXPECT_EQ(stats.released, 2u);
    EXPECT_EQ(stats.badReleases, 0u);
}

TEST_F(TextureManager, DoubleReleaseIsReportedNotFatal) {
    MTexture* texture = manager->acquireTexture("", rgbaDescription(2, 2), nullptr, false);
    ASSERT_NE(texture, nullptr);
    manager->releaseTexture(texture);
    testing::internal::CaptureStderr();
    manager->releaseTexture(texture);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("releaseTexture"), std::string::npos);
    EXPECT_EQ(host::textureStats().badReleases, 1u);
    EXPECT_EQ(host::textureStats().released, 1u);
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    EXPECT_FALSE(host::readTexturePixels(texture, &width, &height, &pixels));
}

TEST_F(TextureManager, UnsupportedDescriptionsGiveNoTexture) {
    MTextureDescription other = rgbaDescription(4, 4);
    other.fFormat = kR8G8B8X8;
    EXPECT_EQ(manager->acquireTexture("", other, nullptr, false), nullptr);
    other = rgbaDescription(4, 4);
    other.fTextureType = kImage2DArray;
    EXPECT_EQ(manager->acquireTexture("", other, nullptr, false), nullptr);
    other = rgbaDescription(4, 4);
    other.fBytesPerRow = 15;
    EXPECT_EQ(manager->acquireTexture("", other, nullptr, false), nullptr);
    EXPECT_EQ(manager->acquireTexture("", rgbaDescription(0, 4), nullptr, false), nullptr);
    EXPECT_EQ(host::textureStats().acquired, 0u);
}

TEST_F(TextureManager, FaultsFailAcquisitionAndUpdate) {
    host::setFault(host::fault::kTextureAcquire, true);
    EXPECT_EQ(manager->acquireTexture("", rgbaDescription(2, 2), nullptr, false), nullptr);
    host::setFault(host::fault::kTextureAcquire, false);

    MTexture* texture = manager->acquireTexture("", rgbaDescription(1, 1), nullptr, false);
    ASSERT_NE(texture, nullptr);
    host::setFault(host::fault::kTextureUpdate, true);
    const std::uint8_t red[4] = {255, 0, 0, 255};
    EXPECT_EQ(texture->update(red, false), MStatus::kFailure);
    EXPECT_EQ(pixelsOf(texture), std::vector<std::uint8_t>(4, 0));
    manager->releaseTexture(texture);
}

}  // namespace
