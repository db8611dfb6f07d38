#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MViewport2Renderer.h>

#include <cstdint>
#include <vector>

namespace host {
struct TextureAccess;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

// Kinds of texture, in Maya's order except for kImage2D, which this host numbers 6. The host
// makes kImage2D textures only.
enum MTextureType {
    kImage1D = 0,
    kImage1DArray,
    kImage2DArray,
    kCubeMap,
    kVolumeTexture,
    kDepthTexture,
    kImage2D,
    kNumberOfTextureTypes,
};

enum MEnvironmentMapType {
    kEnvNone = 0,
    kEnvSphere,
    kEnvHemiSphere,
    kEnvLatLong,
    kEnvCrossVertical,
    kEnvCrossHorizontal,
    kEnvCubemap,
    kNumberOfEnvMapTypes,
};

class MTextureDescription {
public:
    MTextureDescription() { setToDefault2DTexture(); }

    // A base for the caller to complete: no size, one mipmap and one slice, a 16-bit float
    // two-channel format and the array kind of 2D texture. The texture manager takes only
    // kR8G8B8A8_UNORM and kImage2D with a size, so the caller sets those too.
    void setToDefault2DTexture() {
        fWidth = 0;
        fHeight = 0;
        fDepth = 1;
        fBytesPerRow = 0;
        fBytesPerSlice = 0;
        fMipmaps = 1;
        fArraySlices = 1;
        fFormat = kR16G16_FLOAT;
        fTextureType = kImage2DArray;
        fEnvMapType = kEnvNone;
    }

    unsigned int fWidth;
    unsigned int fHeight;
    unsigned int fDepth;
    unsigned int fBytesPerRow;
    unsigned int fBytesPerSlice;
    unsigned int fMipmaps;
    unsigned int fArraySlices;
    MRasterFormat fFormat;
    MTextureType fTextureType;
    MEnvironmentMapType fEnvMapType;
};

// Texel ranges of a partial update; the maximum of each range is exclusive.
class MTextureUpdateRegion {
public:
    unsigned int fXRangeMin = 0;
    unsigned int fXRangeMax = 0;
    unsigned int fYRangeMin = 0;
    unsigned int fYRangeMax = 0;
    unsigned int fZRangeMin = 0;
    unsigned int fZRangeMax = 1;
};

// A texture owned by the texture manager. Its pixels stay in memory: 8-bit red, green,
// blue, alpha, row 0 being the first row handed over.
class MTexture {
public:
    // Replaces the pixels (all of them, or the region's). rowPitch 0 means packed rows.
    MStatus update(const void* pixelData, bool generateMipMaps, unsigned int rowPitch = 0,
                   MTextureUpdateRegion* region = nullptr);
    void textureDescription(MTextureDescription& desc) const;
    const MString& name() const;
    int bytesPerPixel() const;
    bool hasAlpha() const;

    MTexture(const MTexture&) = delete;
    MTexture& operator=(const MTexture&) = delete;

private:
    friend class MTextureManager;
    friend struct ::host::TextureAccess;
    MTexture(const MString& name, const MTextureDescription& description);
    ~MTexture();

    MString name_;
    MTextureDescription description_;
    std::vector<std::uint8_t> pixels_;
};

class MTextureManager {
public:
    // Null when the description is not a 2D 8-bit RGBA texture with a size. Mipmaps are not
    // made; pixelData (packed rows, may be null for zeros) becomes the initial content.
    MTexture* acquireTexture(const MString& textureName, const MTextureDescription& textureDesc,
                             const void* pixelData, bool generateMipMaps = true);
    // Releasing a texture twice is reported on standard error and counted, not fatal.
    void releaseTexture(MTexture* texture) const;

    MTextureManager(const MTextureManager&) = delete;
    MTextureManager& operator=(const MTextureManager&) = delete;

private:
    friend class MRenderer;
    MTextureManager();
    ~MTextureManager();
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
