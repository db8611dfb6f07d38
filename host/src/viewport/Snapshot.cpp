#include <host/Viewport.h>

#include "viewport/DrawOverrideTable.h"
#include "viewport/SceneReading.h"

namespace host {

MStatus snapshot(const MDagPath& camera, int width, int height, RgbaPicture& picture) {
    if (width <= 0 || height <= 0 || !camera.hasFn(MFn::kCamera)) {
        return MStatus::kInvalidParameter;
    }
    MStatus status = refresh(camera);
    CameraView view;
    if (status) {
        status = readCameraView(camera, view);
    }
    if (!status) {
        return status;
    }
    std::vector<DrawnNode> nodes;
    DrawOverrideTable& table = DrawOverrideTable::instance();
    for (std::size_t index = 0; index < table.size(); ++index) {
        const OverrideEntry& entry = *table.at(index);
        if (entry.latestCalls.empty()) {
            continue;
        }
        MDagPath path;
        if (MDagPath::getAPathTo(entry.node, path)) {
            nodes.push_back(DrawnNode{transformWorldMatrix(path), entry.latestCalls});
        }
    }
    picture = renderScene(view, renderAspect(), width, height, nodes);
    return MStatus::kSuccess;
}

}  // namespace host
