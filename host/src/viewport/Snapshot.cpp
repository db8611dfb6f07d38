#include <host/Playback.h>
#include <host/Viewport.h>

#include "viewport/DrawOverrideTable.h"
#include "viewport/SceneReading.h"

namespace host {

MStatus snapshot(const MDagPath& camera, int width, int height, RgbaPicture& picture) {
    if (width <= 0 || height <= 0 || !camera.hasFn(MFn::kCamera)) {
        return MStatus::kInvalidParameter;
    }
    // A snapshot is the host's one-frame playblast, and draws as one.
    const ConditionScope playblasting("playblasting");
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
        for (const auto& draw : table.at(index)->paths) {
            if (!draw->latestCalls.empty()) {
                nodes.push_back(DrawnNode{transformWorldMatrix(draw->path), draw->latestCalls});
            }
        }
    }
    picture = renderScene(view, renderAspect(), width, height, nodes);
    return MStatus::kSuccess;
}

}  // namespace host
