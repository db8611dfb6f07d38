#include <maya/MViewport2Renderer.h>

#include <host/Rendering.h>
#include <host/Textures.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <set>

namespace {

using namespace MHWRender;
using Pixel = std::array<int, 4>;

constexpr int kWidth = 64;
constexpr int kHeight = 36;
constexpr double kAspect = 16.0 / 9.0;
const Pixel kBackground{64, 64, 64, 255};
const Pixel kRed{255, 0, 0, 255};
const Pixel kGreen{0, 255, 0, 255};
const Pixel kBlue{0, 0, 255, 255};
const Pixel kWhite{255, 255, 255, 255};

MTexture* makeTexture(int width, int height, const std::vector<Pixel>& topDown,
                      unsigned int mipmaps = 1, bool generateMipMaps = false) {
    MTextureDescription description;
    description.setToDefault2DTexture();
    description.fWidth = static_cast<unsigned int>(width);
    description.fHeight = static_cast<unsigned int>(height);
    description.fMipmaps = mipmaps;
    std::vector<std::uint8_t> bytes;
    for (const Pixel& pixel : topDown) {
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    }
    return MRenderer::theRenderer()->getTextureManager()->acquireTexture(
        "", description, bytes.data(), generateMipMaps);
}

// Top-left red, top-right green, bottom-left blue, bottom-right white.
MTexture* quadrantTexture() {
    return makeTexture(4, 4,
                       {kRed, kRed, kGreen, kGreen, kRed, kRed, kGreen, kGreen,  //
                        kBlue, kBlue, kWhite, kWhite, kBlue, kBlue, kWhite, kWhite});
}

struct Released {
    void operator()(MTexture* texture) const {
        MRenderer::theRenderer()->getTextureManager()->releaseTexture(texture);
    }
};
using TexturePtr = std::unique_ptr<MTexture, Released>;

host::CameraView defaultCamera() {
    host::CameraView camera;
    camera.cameraToWorld.setToIdentity();
    return camera;
}

// The recorded drawing of a quad of two triangles, texture (0, 0) at its lower left corner.
struct QuadShape {
    MTexture* texture = nullptr;
    double halfWidth = 1;
    double halfHeight = 1;
    double z = 0;
    double uMax = 1;
    MSamplerState::TextureFilter filter = MSamplerState::kMinMagMipPoint;
    MSamplerState::TextureAddress address = MSamplerState::kTexClamp;
    MString colorSpace;
    float alphaDiscardThreshold = 0.05f;
    // Set with setColor before the mesh when given.
    std::optional<MColor> color;
};

host::DrawnNode quadNode(const QuadShape& shape, const MMatrix& world = MMatrix::identity) {
    host::DrawRecorder recorder;
    MUIDrawManager& manager = recorder.manager();
    const double w = shape.halfWidth;
    const double h = shape.halfHeight;
    MPointArray positions;
    MPointArray texCoords;
    const double corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    for (const auto& corner : corners) {
        positions.append(corner[0] * w, corner[1] * h, shape.z);
        texCoords.append((corner[0] + 1) / 2 * shape.uMax, (corner[1] + 1) / 2);
    }
    manager.beginDrawable(MUIDrawManager::kAutomatic, 0);
#if MAYA_API_VERSION >= 20230000
    manager.setTexture(shape.texture, shape.colorSpace, shape.alphaDiscardThreshold);
#else
    manager.setTexture(shape.texture);
#endif
    manager.setTextureSampler(shape.filter, shape.address);
    manager.setTextureMask(MBlendState::kRGBAChannels);
    if (shape.color) {
        manager.setColor(*shape.color);
    }
    manager.mesh(MUIDrawManager::kTriangles, positions, nullptr, nullptr, nullptr, &texCoords);
    manager.endDrawable();
    return host::DrawnNode{world, recorder.calls()};
}

// A quad at depth d that covers exactly the render frame of the default camera.
QuadShape frameQuad(MTexture* texture, double depth) {
    const host::CameraView camera = defaultCamera();
    const host::RenderFrame frame = host::renderFrame(camera, kAspect);
    QuadShape shape;
    shape.texture = texture;
    shape.halfWidth = depth * frame.width / 2 / camera.focalLength;
    shape.halfHeight = depth * frame.height / 2 / camera.focalLength;
    shape.z = -depth;
    return shape;
}

Pixel pixelAt(const host::RgbaPicture& picture, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 4;
    return Pixel{picture.pixels[at], picture.pixels[at + 1], picture.pixels[at + 2],
                 picture.pixels[at + 3]};
}

host::RgbaPicture render(const std::vector<host::DrawnNode>& nodes,
                         const host::CameraView& camera = defaultCamera()) {
    return host::renderScene(camera, kAspect, kWidth, kHeight, nodes);
}

TEST(Renderer, QuadSpanningTheRenderFrameFillsThePictureUpright) {
    TexturePtr texture(quadrantTexture());
    const auto picture = render({quadNode(frameQuad(texture.get(), 10))});
    ASSERT_EQ(picture.pixels.size(), static_cast<std::size_t>(kWidth * kHeight * 4));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool top = y < kHeight / 2;
            const bool left = x < kWidth / 2;
            const Pixel expected = top ? (left ? kRed : kGreen) : (left ? kBlue : kWhite);
            ASSERT_EQ(pixelAt(picture, x, y), expected) << x << "," << y;
        }
    }
}

TEST(Renderer, NodeAndCameraMatricesPlaceTheQuad) {
    TexturePtr texture(quadrantTexture());
    QuadShape shape = frameQuad(texture.get(), 10);
    shape.z = 0;
    MMatrix nodeWorld;  // 3 units in front of the camera's position
    nodeWorld(3, 2) = 3;
    host::CameraView camera = defaultCamera();
    camera.cameraToWorld(3, 2) = 13;
    const auto picture = render({quadNode(shape, nodeWorld)}, camera);
    EXPECT_EQ(pixelAt(picture, 0, 0), kRed);
    EXPECT_EQ(pixelAt(picture, kWidth - 1, kHeight - 1), kWhite);

    camera.cameraToWorld(3, 0) = 1000;  // looking past it
    EXPECT_EQ(pixelAt(render({quadNode(shape, nodeWorld)}, camera), kWidth / 2, kHeight / 2),
              kBackground);
}

TEST(Renderer, FilmFitChoosesTheSideOfTheFilmThatFramesThePicture) {
    host::CameraView camera = defaultCamera();  // 36 x 24 film, aspect 1.5
    struct Case {
        host::FilmFit fit;
        double aspect;
        double width;
        double height;
    };
    const Case cases[] = {
        {host::FilmFit::Horizontal, 2.0, 36, 18}, {host::FilmFit::Horizontal, 1.0, 36, 36},
        {host::FilmFit::Vertical, 2.0, 48, 24},   {host::FilmFit::Vertical, 1.0, 24, 24},
        {host::FilmFit::Fill, 2.0, 36, 18},       {host::FilmFit::Fill, 1.0, 24, 24},
        {host::FilmFit::Overscan, 2.0, 48, 24},   {host::FilmFit::Overscan, 1.0, 36, 36},
    };
    for (const Case& c : cases) {
        camera.filmFit = c.fit;
        const host::RenderFrame frame = host::renderFrame(camera, c.aspect);
        EXPECT_DOUBLE_EQ(frame.width, c.width) << static_cast<int>(c.fit) << " " << c.aspect;
        EXPECT_DOUBLE_EQ(frame.height, c.height) << static_cast<int>(c.fit) << " " << c.aspect;
    }
}

TEST(Renderer, NearerSurfacesHideFartherOnesWhateverTheOrder) {
    TexturePtr red(makeTexture(1, 1, {kRed}));
    TexturePtr green(makeTexture(1, 1, {kGreen}));
    const auto nearRed = quadNode(frameQuad(red.get(), 5));
    const auto farGreen = quadNode(frameQuad(green.get(), 10));
    EXPECT_EQ(pixelAt(render({nearRed, farGreen}), 10, 10), kRed);
    EXPECT_EQ(pixelAt(render({farGreen, nearRed}), 10, 10), kRed);
}

TEST(Renderer, SamplerFilterAndAddressModeAreHonoured) {
    TexturePtr ramp(makeTexture(2, 1, {{0, 0, 0, 255}, kWhite}));
    QuadShape shape = frameQuad(ramp.get(), 10);
    std::set<int> nearestValues;
    const auto nearest = render({quadNode(shape)});
    shape.filter = MSamplerState::kMinMagMipLinear;
    const auto linear = render({quadNode(shape)});
    std::set<int> linearValues;
    for (int x = 0; x < kWidth; ++x) {
        nearestValues.insert(pixelAt(nearest, x, 5)[0]);
        linearValues.insert(pixelAt(linear, x, 5)[0]);
    }
    EXPECT_EQ(nearestValues, (std::set<int>{0, 255}));
    EXPECT_GT(linearValues.size(), 10u);

    shape = frameQuad(ramp.get(), 10);
    shape.uMax = 2;
    shape.address = MSamplerState::kTexWrap;
    const auto wrapped = render({quadNode(shape)});
    shape.address = MSamplerState::kTexClamp;
    const auto clamped = render({quadNode(shape)});
    const int quarter = kWidth / 4;
    EXPECT_EQ(pixelAt(wrapped, quarter * 2 + 1, 5)[0], 0);
    EXPECT_EQ(pixelAt(wrapped, quarter * 3 + 1, 5)[0], 255);
    EXPECT_EQ(pixelAt(clamped, quarter * 2 + 1, 5)[0], 255);
    EXPECT_EQ(pixelAt(clamped, 1, 5)[0], 0);
}

// Shrunk on screen, a texture is read from its lower mipmap levels; levels that were asked
// for but never generated have no defined content and draw nothing.
TEST(Renderer, MinifiedTexturesReadTheirMipmapLevels) {
    const std::vector<Pixel> white(16 * 16, kWhite);
    TexturePtr single(makeTexture(16, 16, white));
    TexturePtr generated(makeTexture(16, 16, white, 0, true));
    TexturePtr ungenerated(makeTexture(16, 16, white, 0, false));
    for (auto filter : {MSamplerState::kMinMagMipPoint, MSamplerState::kMinMagMipLinear}) {
        // Shrunk by 8 the quad is 4.5 pixels square: 3.6 texels per pixel, level 2 or so.
        const auto centre = [&](MTexture* texture, double shrink) {
            QuadShape shape = frameQuad(texture, 10);
            shape.filter = filter;
            if (shrink > 1) {
                shape.halfWidth = shape.halfHeight = shape.halfHeight / shrink;
            }
            return pixelAt(render({quadNode(shape)}), kWidth / 2, kHeight / 2);
        };
        EXPECT_EQ(centre(single.get(), 8), kWhite);
        EXPECT_EQ(centre(generated.get(), 8), kWhite);
        EXPECT_EQ(centre(ungenerated.get(), 8), kBackground);
        EXPECT_EQ(centre(ungenerated.get(), 1), kWhite) << "magnified: the first level";
    }
}

TEST(Renderer, GeometryBehindTheCameraIsClippedAway) {
    TexturePtr red(makeTexture(1, 1, {kRed}));
    QuadShape behind = frameQuad(red.get(), 10);
    behind.z = 10;
    EXPECT_EQ(render({quadNode(behind)}).pixels, render({}).pixels);

    // A floor reaching from behind the camera far ahead shows in the lower half only.
    host::DrawRecorder recorder;
    MPointArray floor;
    floor.append(-50, -1, 20);
    floor.append(50, -1, 20);
    floor.append(0, -1, -200);
    recorder.manager().beginDrawable(MUIDrawManager::kAutomatic, 0);
    recorder.manager().setTexture(red.get());
    recorder.manager().mesh(MUIDrawManager::kTriangles, floor);
    recorder.manager().endDrawable();
    const auto picture = render({host::DrawnNode{MMatrix::identity, recorder.calls()}});
    EXPECT_EQ(pixelAt(picture, kWidth / 2, 2), kBackground);
    EXPECT_EQ(pixelAt(picture, kWidth / 2, kHeight - 1), kRed);
}

TEST(Renderer, TransparentTexelsShowTheBackground) {
    TexturePtr clear(makeTexture(1, 1, {{0, 0, 0, 0}}));
    EXPECT_EQ(pixelAt(render({quadNode(frameQuad(clear.get(), 10))}), 3, 3), kBackground);
}

// Half-float textures: 8 bytes a texel, read back as given, sampled as float values (past 1
// clipped only at the display, so the colour conversion sees them), and mipmapped by the mean of
// the values.
TEST(Renderer, HalfFloatTexturesKeepTheirValues) {
    constexpr std::uint16_t kHalfOne = 0x3C00, kHalfFour = 0x4400, kHalfQuarter = 0x3400;
    MTextureDescription description;
    description.setToDefault2DTexture();
    description.fWidth = 2;
    description.fHeight = 2;
    description.fFormat = kR16G16B16A16_FLOAT;
    description.fMipmaps = 0;
    const std::vector<std::uint16_t> texels = {
        kHalfFour,    0, 0, kHalfOne, kHalfQuarter, 0, 0, kHalfOne,
        kHalfQuarter, 0, 0, kHalfOne, kHalfQuarter, 0, 0, kHalfOne};
    TexturePtr texture(MRenderer::theRenderer()->getTextureManager()->acquireTexture(
        "", description, texels.data(), true));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->bytesPerPixel(), 8u);
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(host::readTexturePixels(texture.get(), &width, &height, &bytes));
    ASSERT_EQ(bytes.size(), texels.size() * 2);
    EXPECT_EQ(std::memcmp(bytes.data(), texels.data(), bytes.size()), 0);
    EXPECT_TRUE(host::textureIsHalfFloat(texture.get()));
    ASSERT_TRUE(host::readTextureLevel(texture.get(), 1, &width, &height, &bytes));
    std::uint16_t mean = 0;
    std::memcpy(&mean, bytes.data(), sizeof mean);
    EXPECT_EQ(mean, 0x3CC0) << "(4 + 3 × 0.25) / 4 = 1.1875";

    QuadShape shape = frameQuad(texture.get(), 10);
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), kWidth - 3, 3), (Pixel{64, 0, 0, 255}));
#if MAYA_API_VERSION >= 20230000
    // 0.25 scene-linear is 137 in sRGB; 4.0 is still past white.
    shape.colorSpace = "scene-linear Rec.709-sRGB";
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), kWidth - 3, 3), (Pixel{137, 0, 0, 255}));
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), (Pixel{255, 0, 0, 255}));
#endif
}

#if MAYA_API_VERSION >= 20230000
// Texels below the threshold are not drawn at all; the others blend by their alpha.
TEST(Renderer, TexelsBelowTheAlphaThresholdAreDiscarded) {
    TexturePtr faint(makeTexture(1, 1, {{255, 255, 255, 10}}));  // alpha 0.039
    QuadShape shape = frameQuad(faint.get(), 10);
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), kBackground);
    shape.alphaDiscardThreshold = 0.03f;
    const Pixel blended = pixelAt(render({quadNode(shape)}), 3, 3);
    EXPECT_GT(blended[0], kBackground[0]);

    TexturePtr half(makeTexture(1, 1, {{255, 255, 255, 128}}));
    shape = frameQuad(half.get(), 10);
    EXPECT_NE(pixelAt(render({quadNode(shape)}), 3, 3), kBackground);
    shape.alphaDiscardThreshold = 0.6f;
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), kBackground);
}

// Through the default configuration's sRGB view, sRGB texels show as stored and scene-linear
// ones are encoded for the display: 128 / 255 linear is 188 / 255 in sRGB. ACEScg texels, and Raw
// ones (taken as values of the ACEScg rendering space), also change gamut on their way to the
// Rec.709 display: red gains, green loses.
TEST(Renderer, ColourSpacesShowThroughTheSrgbView) {
    TexturePtr grey(makeTexture(1, 1, {{128, 64, 0, 255}}));
    QuadShape shape = frameQuad(grey.get(), 10);
    const auto shown = [&](const char* colorSpace) {
        shape.colorSpace = colorSpace;
        return pixelAt(render({quadNode(shape)}), 3, 3);
    };
    const Pixel stored{128, 64, 0, 255};
    const Pixel encoded{188, 137, 0, 255};
    const Pixel fromAcescg{218, 129, 0, 255};
    EXPECT_EQ(shown(""), stored);
    EXPECT_EQ(shown("sRGB"), stored);
    EXPECT_EQ(shown("sRGB Encoded Rec.709 (sRGB)"), stored);
    EXPECT_EQ(shown("no such space"), stored);
    EXPECT_EQ(shown("scene-linear Rec.709-sRGB"), encoded);
    EXPECT_EQ(shown("Linear Rec.709 (sRGB)"), encoded);
    EXPECT_EQ(shown("ACEScg"), fromAcescg);
    EXPECT_EQ(shown("Raw"), fromAcescg);
}
#endif

}  // namespace

namespace {

// A textured drawable is blended over the picture by its colour's alpha times the texel's; its
// colour components leave the texels alone. An untextured one is drawn in its colour.
TEST(Renderer, TheDrawColoursAlphaBlendsATexturedQuad) {
    TexturePtr red(makeTexture(1, 1, {kRed}));
    QuadShape shape = frameQuad(red.get(), 10);
    shape.color = MColor(0.0f, 0.0f, 1.0f, 0.5f);
    const Pixel half = pixelAt(render({quadNode(shape)}), 3, 3);
    EXPECT_NEAR(half[0], (255 + kBackground[0]) / 2.0, 1.0);
    EXPECT_NEAR(half[1], kBackground[1] / 2.0, 1.0);
    EXPECT_NEAR(half[2], kBackground[2] / 2.0, 1.0);
    shape.color = MColor(1.0f, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), kBackground);
    shape.color = MColor(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), kRed);

    shape.texture = nullptr;
    shape.color = MColor(0.0f, 1.0f, 0.0f);
    EXPECT_EQ(pixelAt(render({quadNode(shape)}), 3, 3), kGreen);
}

// An orthographic camera frames its width across the film back at every depth.
TEST(Renderer, OrthographicViewsFrameTheirWidthAtAnyDepth) {
    TexturePtr quadrants(quadrantTexture());
    host::CameraView camera = defaultCamera();
    camera.orthographic = true;
    camera.filmFit = host::FilmFit::Horizontal;
    camera.filmWidth = 30.0;
    camera.filmHeight = 20.0;
    for (const double depth : {1.0, 500.0}) {
        QuadShape shape;
        shape.texture = quadrants.get();
        shape.halfWidth = 15.0;
        shape.halfHeight = 15.0 / kAspect;
        shape.z = -depth;
        const host::RgbaPicture picture = render({quadNode(shape)}, camera);
        EXPECT_EQ(pixelAt(picture, 0, 0), kRed);
        EXPECT_EQ(pixelAt(picture, kWidth - 1, 0), kGreen);
        EXPECT_EQ(pixelAt(picture, 0, kHeight - 1), kBlue);
        EXPECT_EQ(pixelAt(picture, kWidth - 1, kHeight - 1), kWhite);
    }
}

}  // namespace
