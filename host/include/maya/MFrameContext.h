#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDagPath.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypes.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

// What the host tells draw code about the frame being drawn. Made by the host only.
class MFrameContext {
public:
    // Where the frame goes: an interactive 3d viewport (destinationName: its model panel), an
    // interactive 2d one such as the Render View, or an image. MFrameContext.h (2022-2024).
    enum RenderingDestination { k3dViewport, k2dViewport, kImage };

    virtual ~MFrameContext();

    RenderingDestination renderingDestination(MString& destinationName) const;

    MStatus getViewportDimensions(int& originX, int& originY, int& width, int& height) const;
    MDagPath getCurrentCameraPath(MStatus* ReturnStatus = nullptr) const;

    MFrameContext(const MFrameContext&) = delete;
    MFrameContext& operator=(const MFrameContext&) = delete;

protected:
    MFrameContext(const MDagPath& camera, int width, int height,
                  RenderingDestination destination = k3dViewport,
                  const MString& destinationName = MString());

private:
    MDagPath camera_;
    int width_;
    int height_;
    RenderingDestination destination_;
    MString destinationName_;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
