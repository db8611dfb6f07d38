#include "viewport/RenderNotifications.h"

#include <maya/MViewport2Renderer.h>

#include "core/MainThreadOnly.h"

#include <string>
#include <vector>

// Render notifications: MRenderer::addNotification (MViewport2Renderer.h, 2022-2024) at the
// semantic locations of MPassContext (MDrawContext.h). The host renders once per refresh, so
// each location is reached once per refresh; a render has a single scene pass, so the scene
// locations come right after the beginning and right before the end.
OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

const MString MPassContext::kBeginRenderSemantic("beginRender");
const MString MPassContext::kBeginSceneRenderSemantic("beginSceneRender");
const MString MPassContext::kEndSceneRenderSemantic("endSceneRender");
const MString MPassContext::kEndRenderSemantic("endRender");

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE

namespace host {
namespace {

struct Notification {
    std::string name;
    std::string location;
    MHWRender::MRenderer::NotificationCallback callback;
    void* clientData;
};

std::vector<Notification>& notifications() {
    static std::vector<Notification> all;
    return all;
}

bool isLocation(const MString& location) {
    using MHWRender::MPassContext;
    return location == MPassContext::kBeginRenderSemantic ||
           location == MPassContext::kBeginSceneRenderSemantic ||
           location == MPassContext::kEndSceneRenderSemantic ||
           location == MPassContext::kEndRenderSemantic;
}

}  // namespace

void sendRenderNotifications(const MString& semanticLocation, MHWRender::MDrawContext& context) {
    // A notification may remove notifications: those due are picked first.
    const std::vector<Notification> due = notifications();
    for (const Notification& notification : due) {
        if (notification.location == semanticLocation.asChar()) {
            notification.callback(context, notification.clientData);
        }
    }
}

}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

// Maya does not document a second notification of the same name at the same location; the
// host refuses it, as the name is what removes it.
MStatus MRenderer::addNotification(NotificationCallback notification, const MString& name,
                                   const MString semanticLocation, void* clientData) {
    HOST_MAIN_THREAD_ONLY();
    if (notification == nullptr || name.length() == 0 || !host::isLocation(semanticLocation)) {
        return MStatus::kInvalidParameter;
    }
    for (const host::Notification& existing : host::notifications()) {
        if (existing.name == name.asChar() && existing.location == semanticLocation.asChar()) {
            return MStatus::kFailure;
        }
    }
    host::notifications().push_back(
        host::Notification{name.asChar(), semanticLocation.asChar(), notification, clientData});
    return MStatus::kSuccess;
}

MStatus MRenderer::removeNotification(const MString& name, const MString& semanticLocation) {
    HOST_MAIN_THREAD_ONLY();
    std::vector<host::Notification>& all = host::notifications();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (it->name == name.asChar() && it->location == semanticLocation.asChar()) {
            all.erase(it);
            return MStatus::kSuccess;
        }
    }
    return MStatus::kFailure;
}

unsigned int MRenderer::notificationCount(const MString& semanticLocation) const {
    HOST_MAIN_THREAD_ONLY();
    unsigned int count = 0;
    for (const host::Notification& notification : host::notifications()) {
        count += notification.location == semanticLocation.asChar() ? 1 : 0;
    }
    return count;
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
