#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDagPath.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

// What the host tells draw code about the frame being drawn. Made by the host only.
class MFrameContext {
public:
    virtual ~MFrameContext();

    MStatus getViewportDimensions(int& originX, int& originY, int& width, int& height) const;
    MDagPath getCurrentCameraPath(MStatus* ReturnStatus = nullptr) const;

    MFrameContext(const MFrameContext&) = delete;
    MFrameContext& operator=(const MFrameContext&) = delete;

protected:
    MFrameContext(const MDagPath& camera, int width, int height);

private:
    MDagPath camera_;
    int width_;
    int height_;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
