#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

class MTextureManager;
class MDrawContext;

// Device kinds a draw override can draw with (bits).
enum DrawAPI {
    kNone = 0,
    kOpenGL = 1 << 0,
    kDirectX11 = 1 << 1,
    kOpenGLCoreProfile = 1 << 2,
    kAllDevices = kOpenGL | kDirectX11 | kOpenGLCoreProfile,
};

// Pixel formats of textures and render targets. The host's textures hold kR8G8B8A8_UNORM.
enum MRasterFormat {
    kD24S8 = 0,
    kD24X8,
    kD32_FLOAT,
    kR24G8,
    kR24X8,
    kDXT1_UNORM,
    kDXT1_UNORM_SRGB,
    kDXT2_UNORM,
    kDXT2_UNORM_SRGB,
    kDXT2_UNORM_PREALPHA,
    kDXT3_UNORM,
    kDXT3_UNORM_SRGB,
    kDXT3_UNORM_PREALPHA,
    kDXT4_UNORM,
    kDXT4_SNORM,
    kDXT5_UNORM,
    kDXT5_SNORM,
    kBC6H_UF16,
    kBC6H_SF16,
    kBC7_UNORM,
    kBC7_UNORM_SRGB,
    kR9G9B9E5_FLOAT,
    kR1_UNORM,
    kA8,
    kR8_UNORM,
    kR8_SNORM,
    kR8_UINT,
    kR8_SINT,
    kL8,
    kR16_FLOAT,
    kR16_UNORM,
    kR16_SNORM,
    kR16_UINT,
    kR16_SINT,
    kL16,
    kR8G8_UNORM,
    kR8G8_SNORM,
    kR8G8_UINT,
    kR8G8_SINT,
    kB5G5R5A1,
    kB5G6R5,
    kR32_FLOAT,
    kR32_UINT,
    kR32_SINT,
    kR16G16_FLOAT,
    kR16G16_UNORM,
    kR16G16_SNORM,
    kR16G16_UINT,
    kR16G16_SINT,
    kR8G8B8A8_UNORM,
    kR8G8B8A8_SNORM,
    kR8G8B8A8_UINT,
    kR8G8B8A8_SINT,
    kR10G10B10A2_UNORM,
    kR10G10B10A2_UINT,
    kB8G8R8A8,
    kB8G8R8X8,
    kR8G8B8X8,
    kA8B8G8R8,
    kR32G32_FLOAT,
    kR32G32_UINT,
    kR32G32_SINT,
    kR16G16B16A16_FLOAT,
    kR16G16B16A16_UNORM,
    kR16G16B16A16_SNORM,
    kR16G16B16A16_UINT,
    kR16G16B16A16_SINT,
    kR32G32B32_FLOAT,
    kR32G32B32_UINT,
    kR32G32B32_SINT,
    kR32G32B32A32_FLOAT,
    kR32G32B32A32_UINT,
    kR32G32B32A32_SINT,
    kNumberOfRasterFormats,
};

// The Viewport 2.0 renderer: one per host process.
class MRenderer {
public:
    // Null when initializeRenderer is false and the renderer has not been started yet.
    static MRenderer* theRenderer(bool initializeRenderer = true);
    MTextureManager* getTextureManager() const;
    DrawAPI drawAPI() const;
    bool drawAPIIsOpenGL() const;

    // Calls a function at a point of every render (MPassContext's semantic locations), on the
    // main thread, with the render's draw context; `name` identifies it among those of the
    // location. MViewport2Renderer.h (2022-2024).
    typedef void (*NotificationCallback)(MDrawContext& context, void* clientData);
    MStatus addNotification(NotificationCallback notification, const MString& name,
                            const MString semanticLocation, void* clientData);
    MStatus removeNotification(const MString& name, const MString& semanticLocation);
    unsigned int notificationCount(const MString& semanticLocation) const;

    MRenderer(const MRenderer&) = delete;
    MRenderer& operator=(const MRenderer&) = delete;

private:
    MRenderer();
    ~MRenderer();
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE

#include <maya/MTextureManager.h>
