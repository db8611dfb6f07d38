#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFrameContext.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

// The frame context of a draw callback. Made by the host only.
class MDrawContext : public MFrameContext {
public:
    // Increases by one at every refresh.
    MUint64 getFrameStamp() const;

protected:
    MDrawContext(const MDagPath& camera, int width, int height);
    ~MDrawContext() override;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
