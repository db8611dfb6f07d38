#pragma once

#include <maya/MDagPath.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

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
