#include "node/RefreshRequest.h"

#include <maya/MGlobal.h>

#include <atomic>

namespace video {
namespace {

std::atomic<bool> refreshAsked{false};
// Until a refresh says otherwise, the session is taken to process idle events.
std::atomic<bool> idleUsable{true};

}  // namespace

void requestViewportRefresh() {
    if (!idleUsable.load() || refreshAsked.exchange(true)) {
        return;
    }
    // The one way from another thread into the main one: the command runs from the idle queue.
    // https://help.autodesk.com/cloudhelp/2023/ENU/Maya-Tech-Docs/Commands/refresh.html
    MGlobal::executeCommandOnIdle("refresh -f");
}

void viewportRefreshBegan(bool idleEventsProcessed) {
    idleUsable = idleEventsProcessed;
    refreshAsked = false;
}

}  // namespace video
