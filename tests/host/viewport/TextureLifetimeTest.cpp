#include <maya/MImage.h>
#include <maya/MViewport2Renderer.h>

#include <host/Textures.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// What Maya documents of textures beyond holding pixels: mipmap levels, row pitch, update
// status and region, named textures shared by reference, deletion on release.
namespace {

using namespace MHWRender;
using Bytes = std::vector<std::uint8_t>;

MTextureDescription rgba(unsigned int width, unsigned int height, unsigned int mipmaps) {
    MTextureDescription description;
    description.setToDefault2DTexture();
    description.fWidth = width;
    description.fHeight = height;
    description.fMipmaps = mipmaps;
    return description;
}

// Texel i of a w x h texture is {i, i, i, 255}.
Bytes numbered(unsigned int width, unsigned int height) {
    Bytes bytes;
    for (unsigned int i = 0; i < width * height; ++i) {
        const auto value = static_cast<std::uint8_t>(i);
        bytes.insert(bytes.end(), {value, value, value, 255});
    }
    return bytes;
}

bool readLevel(const MTexture* texture, unsigned int level, Bytes* pixels, int* width = nullptr) {
    int levelWidth = 0;
    int levelHeight = 0;
    const bool read = host::readTextureLevel(texture, level, &levelWidth, &levelHeight, pixels);
    if (width != nullptr) {
        *width = levelWidth;
    }
    return read;
}

class TextureLifetime : public ::testing::Test {
protected:
    void SetUp() override {
        manager = MRenderer::theRenderer(true)->getTextureManager();
        liveBefore = host::textureStats().live;
    }
    void TearDown() override {
        EXPECT_EQ(host::textureStats().live, liveBefore) << "a test leaked a texture";
    }

    MTextureManager* manager = nullptr;
    std::size_t liveBefore = 0;
};

TEST_F(TextureLifetime, MipmapCountZeroIsTheWholeChainGeneratedOnlyWhenAsked) {
    const Bytes top = numbered(8, 4);
    MTexture* kept = manager->acquireTexture("", rgba(8, 4, 0), top.data(), false);
    MTexture* generated = manager->acquireTexture("", rgba(8, 4, 0), top.data(), true);
    MTexture* single = manager->acquireTexture("", rgba(8, 4, 1), top.data(), true);
    ASSERT_TRUE(kept && generated && single);
    MTextureDescription description;
    kept->textureDescription(description);
    EXPECT_EQ(description.fMipmaps, 4u);  // 8x4, 4x2, 2x1, 1x1
    single->textureDescription(description);
    EXPECT_EQ(description.fMipmaps, 1u);

    Bytes pixels;
    EXPECT_TRUE(readLevel(kept, 0, &pixels));
    EXPECT_FALSE(readLevel(kept, 1, &pixels)) << "a level nobody generated has no content";
    EXPECT_FALSE(readLevel(single, 1, &pixels));
    int width = 0;
    ASSERT_TRUE(readLevel(generated, 1, &pixels, &width));
    EXPECT_EQ(width, 4);
    // Texels 0, 1, 8, 9 of the top level average to 4.5, rounded to 5.
    EXPECT_EQ(pixels[0], 5);
    ASSERT_TRUE(readLevel(generated, 3, &pixels, &width));
    EXPECT_EQ(width, 1);

    const Bytes next = numbered(8, 4);
    EXPECT_EQ(kept->update(next.data(), true), MStatus::kSuccess);
    EXPECT_TRUE(readLevel(kept, 3, &pixels));
    for (MTexture* texture : {kept, generated, single}) {
        manager->releaseTexture(texture);
    }
}

TEST_F(TextureLifetime, RowsAreTheDescriptionsBytesPerRowApartOrPacked) {
    MTextureDescription description = rgba(2, 2, 1);
    description.fBytesPerRow = 12;
    description.fBytesPerSlice = 24;
    const Bytes padded = {1, 1, 1, 1, 2, 2, 2, 2, 0, 0, 0, 0, 3, 3, 3, 3, 4, 4, 4, 4, 0, 0, 0, 0};
    MTexture* texture = manager->acquireTexture("", description, padded.data(), false);
    ASSERT_NE(texture, nullptr);
    MTextureDescription kept;
    texture->textureDescription(kept);
    EXPECT_EQ(kept.fBytesPerRow, 12u);
    EXPECT_EQ(kept.fBytesPerSlice, 24u);
    EXPECT_EQ(texture->bytesPerPixel(), 4u);
    Bytes pixels;
    ASSERT_TRUE(readLevel(texture, 0, &pixels));
    EXPECT_EQ(pixels, (Bytes{1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4}));
    manager->releaseTexture(texture);
}

TEST_F(TextureLifetime, UpdatesSucceedOrFailAndRegionsReadWholeTextureRows) {
    MTexture* texture = manager->acquireTexture("", rgba(3, 2, 1), nullptr, false);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->update(nullptr, false), MStatus::kFailure);

    // A new region is the one texel at the origin.
    MTextureUpdateRegion region;
    const Bytes one = {9, 9, 9, 9};
    EXPECT_EQ(texture->update(one.data(), false, 0, &region), MStatus::kSuccess);

    // Row pitch 0 means rows as wide as the texture, even for a narrower region.
    region.fXRangeMin = 1;
    region.fXRangeMax = 2;
    region.fYRangeMin = 0;
    region.fYRangeMax = 2;
    const Bytes source = {7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(texture->update(source.data(), false, 0, &region), MStatus::kSuccess);
    Bytes pixels;
    ASSERT_TRUE(readLevel(texture, 0, &pixels));
    EXPECT_EQ(pixels,
              (Bytes{9, 9, 9, 9, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 8, 8, 0, 0, 0, 0}));

    region.fXRangeMax = 4;
    EXPECT_EQ(texture->update(source.data(), false, 0, &region), MStatus::kFailure);
    EXPECT_EQ(texture->update(source.data(), false, 4), MStatus::kFailure);
    manager->releaseTexture(texture);
}

// MImage keeps its bottom row first; the texture shows it upright like any top-first data.
TEST_F(TextureLifetime, ImagesOfTheTexturesSizeUpdateIt) {
    MTexture* texture = manager->acquireTexture("", rgba(1, 2, 1), nullptr, false);
    ASSERT_NE(texture, nullptr);
    MImage image;
    ASSERT_EQ(image.create(1, 2), MStatus::kSuccess);
    unsigned char bottomFirst[] = {2, 2, 2, 2, 1, 1, 1, 1};
    image.setPixels(bottomFirst, 1, 2);
    EXPECT_EQ(texture->update(image, false), MStatus::kSuccess);
    Bytes pixels;
    ASSERT_TRUE(readLevel(texture, 0, &pixels));
    EXPECT_EQ(pixels, (Bytes{1, 1, 1, 1, 2, 2, 2, 2}));

    MImage wrongSize;
    ASSERT_EQ(wrongSize.create(2, 2), MStatus::kSuccess);
    EXPECT_EQ(texture->update(wrongSize, false), MStatus::kFailure);
    manager->releaseTexture(texture);
}

TEST_F(TextureLifetime, NamedTexturesAreSharedUntilTheirLastRelease) {
    const Bytes red = {255, 0, 0, 255};
    const Bytes green = {0, 255, 0, 255};
    MTexture* first = manager->acquireTexture("plate", rgba(1, 1, 1), red.data(), false);
    MTexture* again = manager->acquireTexture("plate", rgba(1, 1, 1), green.data(), false);
    MTexture* unnamed = manager->acquireTexture("", rgba(1, 1, 1), red.data(), false);
    MTexture* unnamedToo = manager->acquireTexture("", rgba(1, 1, 1), red.data(), false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(again, first);
    EXPECT_NE(unnamed, unnamedToo);
    EXPECT_EQ(first->name(), MString("plate"));
    Bytes pixels;
    ASSERT_TRUE(readLevel(first, 0, &pixels));
    EXPECT_EQ(pixels, red) << "the existing texture is returned as it is";

    manager->releaseTexture(first);
    EXPECT_TRUE(readLevel(first, 0, &pixels)) << "one reference is left";
    manager->releaseTexture(again);
    EXPECT_FALSE(readLevel(first, 0, &pixels));
    MTexture* fresh = manager->acquireTexture("plate", rgba(1, 1, 1), green.data(), false);
    ASSERT_TRUE(readLevel(fresh, 0, &pixels));
    EXPECT_EQ(pixels, green);
    for (MTexture* texture : {fresh, unnamed, unnamedToo}) {
        manager->releaseTexture(texture);
    }
}

#if defined(__SANITIZE_ADDRESS__)
// Released textures are deleted, so a plug-in that keeps using one is caught.
TEST_F(TextureLifetime, UsingAReleasedTextureIsAUseAfterFree) {
    MTexture* texture = manager->acquireTexture("", rgba(2, 2, 1), nullptr, false);
    ASSERT_NE(texture, nullptr);
    manager->releaseTexture(texture);
    EXPECT_DEATH(
        {
            MTextureDescription description;
            texture->textureDescription(description);
        },
        "heap-use-after-free");
}
#endif

}  // namespace
