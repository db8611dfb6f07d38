#include "draw/CineSheetDrawOverride.h"

#include "draw/QuadCorners.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MTextureManager.h>

namespace {

void releaseTexture(MHWRender::MTexture* texture) {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer(false);
    MHWRender::MTextureManager* manager = renderer ? renderer->getTextureManager() : nullptr;
    if (manager) {
        manager->releaseTexture(texture);
    }
}

}  // namespace

MHWRender::MPxDrawOverride* CineSheetDrawOverride::creator(const MObject& obj) {
    return new CineSheetDrawOverride(obj);
}

CineSheetDrawOverride::CineSheetDrawOverride(const MObject& obj)
    : MHWRender::MPxDrawOverride(obj, nullptr, true),
      currentPath(" "),
      lastFrame(-1234567),
      mediumPending(false),
      resolutionDivisor(1),
      textureRebuild(false),
      gammaTable{},
      tableGamma(-1.0),
      texture(nullptr) {}

// The video cache, a member, stops its worker and frees its frames after this.
CineSheetDrawOverride::~CineSheetDrawOverride() {
    // The host deletes the node's draw data before its override, so nothing refers to the last
    // texture any more.
    if (texture) {
        releaseTexture(texture);
        texture = nullptr;
    }
}

MHWRender::DrawAPI CineSheetDrawOverride::supportedDrawAPIs() const {
    return MHWRender::kAllDevices;
}

bool CineSheetDrawOverride::hasUIDrawables() const {
    return true;
}

CineSheetData* CineSheetDrawOverride::initUserData() {
    auto* data = new CineSheetData();
    setQuadCorners(data->positions, 1.0);
    data->texCoords.clear();
    data->texCoords.append(0.0, 0.0, 0.0, 1.0);
    data->texCoords.append(1.0, 0.0, 0.0, 1.0);
    data->texCoords.append(1.0, 1.0, 0.0, 1.0);
    data->texCoords.append(0.0, 0.0, 0.0, 1.0);
    data->texCoords.append(1.0, 1.0, 0.0, 1.0);
    data->texCoords.append(0.0, 1.0, 0.0, 1.0);
    return data;
}

bool CineSheetDrawOverride::getLocatorAttrData(const MObject& node, const MStringArray& names,
                                               MPlugArray& plugs) {
    const MFnDependencyNode nodeFn(node);
    plugs.clear();
    for (unsigned int i = 0; i < names.length(); ++i) {
        MStatus status;
        const MObject attribute = nodeFn.attribute(names[i], &status);
        if (!status) {
            return false;
        }
        plugs.append(MPlug(node, attribute));
    }
    return true;
}
