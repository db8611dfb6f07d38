#include <maya/MPxDrawOverride.h>

#include <host/Viewport.h>

#include <atomic>

namespace {

std::atomic<std::size_t> overridesAlive{0};

}  // namespace

namespace host {

std::size_t drawOverridesAlive() {
    return overridesAlive;
}

}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

MPxDrawOverride::MPxDrawOverride(const MObject& /*obj*/, GeometryDrawOverrideCb /*callback*/,
                                 bool /*isAlwaysDirty*/) {
    ++overridesAlive;
}

MPxDrawOverride::~MPxDrawOverride() {
    --overridesAlive;
}

DrawAPI MPxDrawOverride::supportedDrawAPIs() const {
    return kOpenGL;
}

bool MPxDrawOverride::hasUIDrawables() const {
    return false;
}

MMatrix MPxDrawOverride::transform(const MDagPath& objPath, const MDagPath& /*cameraPath*/) const {
    return objPath.inclusiveMatrix();
}

MBoundingBox MPxDrawOverride::boundingBox(const MDagPath& /*objPath*/,
                                          const MDagPath& /*cameraPath*/) const {
    return MBoundingBox();
}

bool MPxDrawOverride::isBounded(const MDagPath& /*objPath*/, const MDagPath& /*cameraPath*/) const {
    return false;
}

bool MPxDrawOverride::disableInternalBoundingBoxDraw() const {
    return false;
}

bool MPxDrawOverride::excludedFromPostEffects() const {
    return true;
}

bool MPxDrawOverride::isTransparent() const {
    return false;
}

void MPxDrawOverride::addUIDrawables(const MDagPath& /*objPath*/, MUIDrawManager& /*drawManager*/,
                                     const MFrameContext& /*frameContext*/,
                                     const MUserData* /*data*/) {}

bool MPxDrawOverride::refineSelectionPath(const MSelectionInfo& /*selectInfo*/,
                                          const MRenderItem& /*hitItem*/, MDagPath& /*path*/,
                                          MObject& /*components*/, MSelectionMask& /*objectMask*/) {
    return true;
}

void MPxDrawOverride::updateSelectionGranularity(const MDagPath& /*path*/,
                                                 MSelectionContext& /*selectionContext*/) {}

bool MPxDrawOverride::traceCallSequence() const {
    return false;
}

void MPxDrawOverride::handleTraceMessage(const MString& /*message*/) const {}

bool MPxDrawOverride::wantUserSelection() const {
    return false;
}

bool MPxDrawOverride::userSelect(MSelectionInfo& /*selectInfo*/, const MDrawContext& /*context*/,
                                 MPoint& /*hitPoint*/, const MUserData* /*data*/) {
    return false;
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
