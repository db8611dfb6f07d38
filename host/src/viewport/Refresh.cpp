#include <host/Interface.h>
#include <host/Viewport.h>

#include <maya/MFrameContext.h>
#include <maya/MViewport2Renderer.h>

#include "viewport/DrawOverrideTable.h"
#include "viewport/FrameStamp.h"
#include "viewport/SceneReading.h"

namespace host {
namespace {

class RefreshContext : public MHWRender::MFrameContext {
public:
    RefreshContext(const MDagPath& camera, int width, int height)
        : MFrameContext(camera, width, height) {}
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

void drawOne(OverrideEntry& entry, const MDagPath& camera, const RefreshContext& context) {
    MDagPath objectPath;
    MDagPath::getAPathTo(entry.node, objectPath);
    MHWRender::MPxDrawOverride& drawOverride = *entry.drawOverride;
    MUserData* oldData = entry.keptData.release();
    MUserData* data = drawOverride.prepareForDraw(objectPath, camera, context, oldData);
    if (oldData != nullptr && oldData != data) {
        delete oldData;
    }
    DrawRecorder recorder;
    if (drawOverride.hasUIDrawables()) {
        drawOverride.addUIDrawables(objectPath, recorder.manager(), context, data);
    }
    entry.latestCalls = recorder.calls();
    if (data != nullptr && deleteAfterDrawing(*data)) {
        delete data;
    } else {
        entry.keptData.reset(data);
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
    DrawOverrideTable& table = DrawOverrideTable::instance();
    for (std::size_t index = 0; index < table.size(); ++index) {
        OverrideEntry& entry = *table.at(index);
        if (isVisible(entry.node) && drawnByDisplayFilters(entry.classification)) {
            drawOne(entry, camera, context);
        } else {
            entry.latestCalls.clear();
        }
    }
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
    OverrideEntry* entry = DrawOverrideTable::instance().find(node);
    return entry != nullptr ? entry->keptData.get() : nullptr;
}

void replaceKeptDrawData(const MObject& node, MUserData* data) {
    std::unique_ptr<MUserData> owned(data);
    OverrideEntry* entry = DrawOverrideTable::instance().find(node);
    if (entry != nullptr) {
        entry->keptData = std::move(owned);
    }
}

std::vector<DrawCall> latestDrawCalls(const MObject& node) {
    OverrideEntry* entry = DrawOverrideTable::instance().find(node);
    return entry != nullptr ? entry->latestCalls : std::vector<DrawCall>();
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
