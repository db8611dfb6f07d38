#include "cache/RefreshRequest.h"

#include <maya/MGlobal.h>

namespace video {

void requestViewportRefresh() {
    // The one way from another thread into the main one: the command runs from the idle queue.
    MGlobal::executeCommandOnIdle("refresh");
}

}  // namespace video
