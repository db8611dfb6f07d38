#include "draw/RefreshNotice.h"

#include "cache/RefreshDeadline.h"
#include "node/RefreshRequest.h"

#include <maya/MDrawContext.h>
#include <maya/MGlobal.h>
#include <maya/MViewport2Renderer.h>

namespace {

const char* const kName = "CineSheetRefreshBegins";
int holders = 0;

// Work queued for idle time runs only in an interactive session: idle events are not processed
// in batch (scriptJob page; MPxThreadedDeviceNode.h), nor, it is taken, in a library
// application, which has no event loop of Maya's.
bool idleEventsProcessed() {
    return MGlobal::mayaState() == MGlobal::kInteractive;
}

void refreshBegins(MHWRender::MDrawContext&, void*) {
    video::RefreshDeadline::instance().refreshBegan(video::RefreshDeadline::Clock::now());
    video::viewportRefreshBegan(idleEventsProcessed());
}

}  // namespace

RefreshNotice::RefreshNotice() {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    if (holders++ == 0 && renderer != nullptr) {
        // What was told while no override lived is stale: a refresh asked for then may have run
        // with no notification to see it.
        video::RefreshDeadline::instance().forgetRefresh();
        video::viewportRefreshBegan(idleEventsProcessed());
        renderer->addNotification(refreshBegins, kName,
                                  MHWRender::MPassContext::kBeginRenderSemantic, nullptr);
    }
}

RefreshNotice::~RefreshNotice() {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer(false);
    if (--holders == 0 && renderer != nullptr) {
        renderer->removeNotification(kName, MHWRender::MPassContext::kBeginRenderSemantic);
        video::RefreshDeadline::instance().forgetRefresh();
    }
}
