#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MImage.h>
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

enum MTextureType {
    kImage1D = 0,
    kImage1DArray,
    kImage2D,
    kImage2DArray,
    kCubeMap,
    kVolumeTexture,
    kDepthTexture,
    kNumberOfTextureTypes,
};

enum MEnvironmentMapType {
    kEnvNone = 0,
    kEnvSphere,
    kEnvHemiSphere,
    kEnvLatLong,
    kEnvCrossVert,
    kEnvCrossHoriz,
    kEnvCubemap,
    kNumberOfEnvMapTypes,
};

// Plain data: the fields hold nothing defined until set, by hand or by setToDefault2DTexture.
// fMipmaps 0 asks for the whole mipmap chain. fBytesPerRow 0 means packed rows.
class MTextureDescription {
public:
    void setToDefault2DTexture() {
        fWidth = 0;
        fHeight = 0;
        fDepth = 1;
        fBytesPerRow = 0;
        fBytesPerSlice = 0;
        fMipmaps = 1;
        fArraySlices = 1;
        fFormat = kR8G8B8A8_UNORM;
        fTextureType = kImage2D;
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

// Texel ranges of a partial update; the maximum of each range is exclusive. A new region
// covers the one texel at the origin.
class MTextureUpdateRegion {
public:
    MTextureUpdateRegion()
        : fXRangeMin(0),
          fXRangeMax(1),
          fYRangeMin(0),
          fYRangeMax(1),
          fZRangeMin(0),
          fZRangeMax(1) {}

    unsigned int fXRangeMin;
    unsigned int fXRangeMax;
    unsigned int fYRangeMin;
    unsigned int fYRangeMax;
    unsigned int fZRangeMin;
    unsigned int fZRangeMax;
};

// A texture owned by the texture manager. Its pixels stay in memory: 8-bit red, green,
// blue, alpha, row 0 being the first row handed over, with one pixel store per mipmap level.
class MTexture {
public:
    // Replaces the pixels of the top level (all of them, or the region's) and reports only
    // kSuccess or kFailure. Source rows are rowPitch bytes apart; 0 means the texture's
    // width times bytesPerPixel(), with or without a region.
    MStatus update(const void* pixelData, bool generateMipMaps, unsigned int rowPitch = 0,
                   MTextureUpdateRegion* region = nullptr);
    // The whole top level from a kByte image of the texture's size.
    MStatus update(const MImage& image, bool generateMipMaps);
    // The description acquired with, fMipmaps giving the number of levels made. Maya does not
    // say whether a 0 asked for reads back as 0 or as that number; this host gives the number.
    void textureDescription(MTextureDescription& desc) const;
    const MString& name() const;
    unsigned int bytesPerPixel() const;
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
    // Level 0 first; a level that was never generated is empty.
    std::vector<std::vector<std::uint8_t>> levels_;
};

class MTextureManager {
public:
    // Null when the description is not a 2D 8-bit RGBA texture with a size. pixelData (rows
    // fBytesPerRow apart, may be null for zeros) becomes the top level; the lower levels are
    // made from it only when generateMipMaps is true. A texture acquired under a non-empty
    // name is kept by that name: asking for the name again returns it with one more
    // reference, whatever the description and data. An empty name gives a new texture.
    MTexture* acquireTexture(const MString& textureName, const MTextureDescription& textureDesc,
                             const void* pixelData, bool generateMipMaps = true);
    // Drops one reference and deletes the texture with the last one. Releasing a texture
    // that is not live is reported on standard error and counted.
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
