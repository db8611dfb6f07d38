#include <maya/MDrawContext.h>
#include <maya/MFrameContext.h>

#include "viewport/FrameStamp.h"

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

MFrameContext::MFrameContext(const MDagPath& camera, int width, int height,
                             RenderingDestination destination, const MString& destinationName)
    : camera_(camera),
      width_(width),
      height_(height),
      destination_(destination),
      destinationName_(destinationName) {}

MFrameContext::~MFrameContext() = default;

MStatus MFrameContext::getViewportDimensions(int& originX, int& originY, int& width,
                                             int& height) const {
    originX = 0;
    originY = 0;
    width = width_;
    height = height_;
    return MStatus::kSuccess;
}

MFrameContext::RenderingDestination MFrameContext::renderingDestination(
    MString& destinationName) const {
    destinationName = destinationName_;
    return destination_;
}

MDagPath MFrameContext::getCurrentCameraPath(MStatus* ReturnStatus) const {
    if (ReturnStatus != nullptr) {
        *ReturnStatus = camera_.isValid() ? MStatus::kSuccess : MStatus::kFailure;
    }
    return camera_;
}

MDrawContext::MDrawContext(const MDagPath& camera, int width, int height,
                           RenderingDestination destination, const MString& destinationName)
    : MFrameContext(camera, width, height, destination, destinationName) {}

MDrawContext::~MDrawContext() = default;

MUint64 MDrawContext::getFrameStamp() const {
    return host::frameStamp();
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
