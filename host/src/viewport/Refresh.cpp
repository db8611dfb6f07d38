#include <host/Interface.h>
#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MDagPathArray.h>
#include <maya/MDrawContext.h>
#include <maya/MFrameContext.h>
#include <maya/MViewport2Renderer.h>

#include "viewport/DrawOverrideTable.h"
#include "viewport/DrawTiming.h"
#include "viewport/FrameStamp.h"
#include "viewport/RenderNotifications.h"
#include "viewport/SceneReading.h"

namespace host {
namespace {

// A refresh draws the one model panel. What a playblast reports as its destination is not
// documented; as it draws through a model panel, the host takes the interactive 3d viewport.
const MString kPanel("modelPanel4");

class RefreshContext : public MHWRender::MFrameContext {
public:
    RefreshContext(const MDagPath& camera, int width, int height)
        : MFrameContext(camera, width, height, k3dViewport, kPanel) {}
};

class NotificationContext : public MHWRender::MDrawContext {
public:
    NotificationContext(const MDagPath& camera, int width, int height)
        : MDrawContext(camera, width, height, k3dViewport, kPanel) {}
};

std::size_t& refreshes() {
    static std::size_t count = 0;
    return count;
}

// Maya still honours the deprecated flag of data made with MUserData(true).
bool deleteAfterDrawing(MUserData& data) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return data.deleteAfterUse();
#pragma GCC diagnostic pop
}

void drawPath(MHWRender::MPxDrawOverride& drawOverride, PathDraw& draw, const MDagPath& camera,
              const RefreshContext& context, RefreshDrawTiming& timing) {
    const MDagPath objectPath = draw.path;
    MUserData* oldData = draw.keptData.release();
    MUserData* data = nullptr;
    {
        const RefreshDrawTiming::Call call(timing);
        data = drawOverride.prepareForDraw(objectPath, camera, context, oldData);
    }
    if (oldData != nullptr && oldData != data) {
        delete oldData;
    }
    DrawRecorder recorder;
    if (drawOverride.hasUIDrawables()) {
        const RefreshDrawTiming::Call call(timing);
        drawOverride.addUIDrawables(objectPath, recorder.manager(), context, data);
    }
    draw.latestCalls = recorder.calls();
    if (data != nullptr && deleteAfterDrawing(*data)) {
        delete data;
    } else {
        draw.keptData.reset(data);
    }
}

// Every visible path of the node is prepared and drawn, each with its own data. The override
// is made only when a path is drawn: hidden and filtered-out nodes get none until shown.
void drawNode(const MObject& node, const MDagPath& camera, const RefreshContext& context,
              RefreshDrawTiming& timing) {
    DrawOverrideTable& table = DrawOverrideTable::instance();
    const std::string classification = table.classificationFor(node);
    if (classification.empty()) {
        return;
    }
    MDagPathArray paths;
    MDagPath::getAllPathsTo(node, paths);
    const bool filteredOut = !drawnByDisplayFilters(classification);
    for (unsigned int i = 0; i < paths.length(); ++i) {
        if (!isInScene(node)) {
            return;
        }
        const bool drawn = !filteredOut && isVisible(paths[i]);
        OverrideEntry* entry = drawn ? table.findOrCreate(node) : table.find(node);
        if (entry == nullptr) {
            continue;
        }
        PathDraw& draw = entry->pathDraw(paths[i]);
        if (drawn) {
            drawPath(*entry->drawOverride, draw, camera, context, timing);
        } else {
            draw.latestCalls.clear();
        }
    }
}

}  // namespace

unsigned long long frameStamp() {
    return refreshes();
}

std::size_t refreshCount() {
    return refreshes();
}

MStatus refresh() {
    return refresh(lookThroughCamera());
}

MStatus refresh(const MDagPath& camera) {
    MHWRender::MRenderer::theRenderer(true);
    ++refreshes();
    int width = 0;
    int height = 0;
    renderResolution(width, height);
    const RefreshContext context(camera, width, height);
    NotificationContext notified(camera, width, height);
    RefreshDrawTiming timing;
    using MHWRender::MPassContext;
    auto notify = [&](const MString& location) {
        const RefreshDrawTiming::Call call(timing);
        sendRenderNotifications(location, notified);
    };
    notify(MPassContext::kBeginRenderSemantic);
    notify(MPassContext::kBeginSceneRenderSemantic);
    for (const MObject& node : sceneNodes()) {
        drawNode(node, camera, context, timing);
    }
    notify(MPassContext::kEndSceneRenderSemantic);
    notify(MPassContext::kEndRenderSemantic);
    return MStatus::kSuccess;
}

MHWRender::MPxDrawOverride* drawOverrideFor(const MObject& node) {
    OverrideEntry* entry = DrawOverrideTable::instance().find(node);
    return entry != nullptr ? entry->drawOverride.get() : nullptr;
}

std::size_t drawOverrideCount() {
    return DrawOverrideTable::instance().size();
}

MUserData* keptDrawData(const MObject& node) {
    MDagPath path;
    return MDagPath::getAPathTo(node, path) ? keptDrawData(path) : nullptr;
}

MUserData* keptDrawData(const MDagPath& path) {
    OverrideEntry* entry = DrawOverrideTable::instance().find(path.node());
    PathDraw* draw = entry != nullptr ? entry->findPath(path) : nullptr;
    return draw != nullptr ? draw->keptData.get() : nullptr;
}

void replaceKeptDrawData(const MObject& node, MUserData* data) {
    std::unique_ptr<MUserData> owned(data);
    OverrideEntry* entry = DrawOverrideTable::instance().find(node);
    MDagPath path;
    if (entry != nullptr && MDagPath::getAPathTo(node, path)) {
        entry->pathDraw(path).keptData = std::move(owned);
    }
}

std::vector<DrawCall> latestDrawCalls(const MObject& node) {
    MDagPath path;
    return MDagPath::getAPathTo(node, path) ? latestDrawCalls(path) : std::vector<DrawCall>();
}

std::vector<DrawCall> latestDrawCalls(const MDagPath& path) {
    OverrideEntry* entry = DrawOverrideTable::instance().find(path.node());
    PathDraw* draw = entry != nullptr ? entry->findPath(path) : nullptr;
    return draw != nullptr ? draw->latestCalls : std::vector<DrawCall>();
}

MHWRender::MTexture* latestTexture(const MObject& node) {
    MHWRender::MTexture* texture = nullptr;
    for (const DrawCall& call : latestDrawCalls(node)) {
        if (call.kind == DrawCall::Kind::SetTexture) {
            texture = call.texture;
        }
    }
    return texture;
}

}  // namespace host
