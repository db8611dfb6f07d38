#pragma once

#include <maya/MFrameContext.h>

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
