#include "cache/CacheImage.h"
#include "draw/CineSheetDrawOverride.h"
#include "draw/FrameAspect.h"
#include "draw/QuadCorners.h"

#include <maya/MTextureManager.h>
#include <maya/MViewport2Renderer.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using PixelBuffer = std::unique_ptr<unsigned char, FreeDeleter>;

MHWRender::MTextureManager* textureManager() {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer(true);
    return renderer ? renderer->getTextureManager() : nullptr;
}

// Bytes of one whole frame at the current size and divisor: the size of every frame handed to
// the texture, cached or not.
size_t frameByteSize(const LoadedMedium& medium, int divisor) {
    return video::cacheImageBytes(medium.frameWidth, medium.frameHeight, divisor);
}

// Trunc(x^gamma × 255) for one byte; NaN gives 0 and results past the byte range are clamped,
// so that any gamma the node can be given yields a defined table.
unsigned char gammaCorrected(int value, float gamma) {
    const float corrected = powf(static_cast<float>(value) / 255.0f, gamma) * 255.0f;
    if (!(corrected > 0.0f)) {
        return 0;
    }
    if (corrected >= 255.0f) {
        return 255;
    }
    return static_cast<unsigned char>(corrected);
}

}  // namespace

void CineSheetDrawOverride::buildGammaTable(float gamma) {
    for (int i = 0; i < 256; ++i) {
        gammaTable[i] = gammaCorrected(i, gamma);
    }
    tableGamma = gamma;
}

bool CineSheetDrawOverride::createTexture(CineSheetData* data) {
    if (data->texture) {
        clearTexture(data);
    }
    if (medium.frameWidth <= 0 || medium.frameHeight <= 0) {
        // Nothing loaded: a small square placeholder.
        medium = LoadedMedium{10, 10, AVRational{1, 1}, 0};
    }
    const int width = medium.frameWidth;
    const int height = medium.frameHeight;
    const int divisor = resolutionDivisor;

    MHWRender::MTextureDescription& description = data->textureDescription;
    description.setToDefault2DTexture();
    description.fWidth = static_cast<unsigned int>(video::reducedSize(width, divisor));
    description.fHeight = static_cast<unsigned int>(video::reducedSize(height, divisor));
    description.fBytesPerRow = description.fWidth * 4;
    description.fBytesPerSlice = description.fBytesPerRow * description.fHeight;
    // One level: the picture is shown about its own size, and a longer chain would have to
    // be generated again at every upload.
    description.fMipmaps = 1;
    description.fFormat = MHWRender::kR8G8B8A8_UNORM;
    description.fTextureType = MHWRender::kImage2D;

    textureRebuild = false;

    // Zeros until the first upload, so that a frame that never comes leaves a blank picture.
    PixelBuffer initial(
        static_cast<unsigned char*>(std::calloc(frameByteSize(medium, resolutionDivisor), 1)));
    MHWRender::MTextureManager* manager = textureManager();
    if (!initial || !manager) {
        description.setToDefault2DTexture();
        setQuadCorners(data->positions, 1.0);
        return false;
    }
    data->texture = manager->acquireTexture("", description, initial.get(), false);
    setQuadCorners(data->positions, static_cast<double>(quadAspect(medium)));
    texture = data->texture;
    return true;
}

bool CineSheetDrawOverride::updateTexture(CineSheetData* data, const void* pixels) {
    if (!data->texture) {
        return false;
    }
    const void* source = pixels;
    if (tableGamma == 1.0) {
        // Not kept while unused: at 4K it is a frame's worth of memory.
        correctionBuffer = std::vector<unsigned char>();
    } else if (frameByteSize(medium, resolutionDivisor) > 0 &&
               reserveCorrectionBuffer(frameByteSize(medium, resolutionDivisor))) {
        const auto* in = static_cast<const unsigned char*>(pixels);
        unsigned char* out = correctionBuffer.data();
        for (size_t offset = 0; offset + 4 <= correctionBuffer.size(); offset += 4) {
            out[offset] = gammaTable[in[offset]];
            out[offset + 1] = gammaTable[in[offset + 1]];
            out[offset + 2] = gammaTable[in[offset + 2]];
            out[offset + 3] = in[offset + 3];
        }
        source = out;
    }
    return data->texture->update(source, false, 0, nullptr) == MStatus::kSuccess;
}

bool CineSheetDrawOverride::reserveCorrectionBuffer(size_t bytes) {
    if (correctionBuffer.size() != bytes) {
        try {
            // Nothing of the former size is worth copying over.
            correctionBuffer = std::vector<unsigned char>(bytes);
        } catch (const std::bad_alloc&) {
            // Without memory for it the frame is shown uncorrected, as before.
            correctionBuffer = std::vector<unsigned char>();
            return false;
        }
    }
    return true;
}

void CineSheetDrawOverride::setResolutionDivisor(int divisor) {
    if (divisor != resolutionDivisor) {
        resolutionDivisor = divisor;
        textureRebuild = true;
    }
}

void CineSheetDrawOverride::clearTexture(CineSheetData* data) {
    if (!data->texture) {
        return;
    }
    MHWRender::MTextureManager* manager = textureManager();
    if (manager) {
        manager->releaseTexture(data->texture);
    }
    data->texture = nullptr;
    texture = nullptr;
}

void CineSheetDrawOverride::defaultImage(CineSheetData* data) {
    PixelBuffer zeros(
        static_cast<unsigned char*>(std::calloc(frameByteSize(medium, resolutionDivisor), 1)));
    if (zeros) {
        updateTexture(data, zeros.get());
    }
}
