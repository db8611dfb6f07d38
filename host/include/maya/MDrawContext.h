#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFrameContext.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

// The semantic locations of render notifications (MViewport2Renderer.h addNotification).
class MPassContext {
public:
    static const MString kBeginRenderSemantic;
    static const MString kBeginSceneRenderSemantic;
    static const MString kEndSceneRenderSemantic;
    static const MString kEndRenderSemantic;
};

// The frame context of a draw callback. Made by the host only.
class MDrawContext : public MFrameContext {
public:
    // Increases by one at every refresh.
    MUint64 getFrameStamp() const;

protected:
    MDrawContext(const MDagPath& camera, int width, int height,
                 RenderingDestination destination = k3dViewport,
                 const MString& destinationName = MString());
    ~MDrawContext() override;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
