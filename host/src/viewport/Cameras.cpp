#include <host/Scene.h>
#include <host/Viewport.h>

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include "viewport/SceneReading.h"

namespace host {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr int kFallbackWidth = 640;
constexpr int kFallbackHeight = 480;

MObject& chosenCamera() {
    static MObject camera;
    return camera;
}

double plugDouble(const MFnDependencyNode& node, const char* name, double fallback) {
    MStatus status;
    const MPlug plug = node.findPlug(name, true, &status);
    return status ? plug.asDouble() : fallback;
}

}  // namespace

MStatus findCamera(const MString& name, MDagPath& camera) {
    MObject node;
    if (!findNode(name, node)) {
        return MStatus::kNotFound;
    }
    MDagPath path;
    if (!MDagPath::getAPathTo(node, path)) {
        return MStatus::kInvalidParameter;
    }
    if (!path.hasFn(MFn::kCamera) && (!path.extendToShape() || !path.hasFn(MFn::kCamera))) {
        return MStatus::kInvalidParameter;
    }
    camera = path;
    return MStatus::kSuccess;
}

MStatus lookThru(const MString& name) {
    MDagPath camera;
    const MStatus status = findCamera(name, camera);
    if (status) {
        chosenCamera() = camera.node();
    }
    return status;
}

MDagPath lookThroughCamera() {
    MDagPath camera;
    if (!chosenCamera().isNull() && isInScene(chosenCamera()) &&
        MDagPath::getAPathTo(chosenCamera(), camera)) {
        return camera;
    }
    findCamera("persp", camera);
    return camera;
}

MStatus readCameraView(const MDagPath& camera, CameraView& view) {
    MStatus status;
    const MFnDependencyNode shape(camera.node(), &status);
    if (!status || !camera.hasFn(MFn::kCamera)) {
        return MStatus::kInvalidParameter;
    }
    const double filmWidth =
        plugDouble(shape, "horizontalFilmAperture", 1.417) * kMillimetresPerInch;
    const double filmHeight =
        plugDouble(shape, "verticalFilmAperture", 0.945) * kMillimetresPerInch;
    view.cameraToWorld = transformWorldMatrix(camera);
    view.orthographic = plugDouble(shape, "orthographic", 0) != 0;
    view.focalLength = plugDouble(shape, "focalLength", 35);
    view.filmFit = static_cast<FilmFit>(static_cast<int>(plugDouble(shape, "filmFit", 0)));
    view.nearClip = plugDouble(shape, "nearClipPlane", 0.1);
    view.farClip = plugDouble(shape, "farClipPlane", 10000);
    if (view.orthographic) {
        const double width = plugDouble(shape, "orthographicWidth", 10);
        view.filmWidth = width;
        view.filmHeight = width * filmHeight / filmWidth;
    } else {
        view.filmWidth = filmWidth;
        view.filmHeight = filmHeight;
    }
    return MStatus::kSuccess;
}

void renderResolution(int& width, int& height) {
    width = kFallbackWidth;
    height = kFallbackHeight;
    MObject node;
    if (!findNode("defaultResolution", node)) {
        return;
    }
    const MFnDependencyNode resolution(node);
    width = static_cast<int>(plugDouble(resolution, "width", kFallbackWidth));
    height = static_cast<int>(plugDouble(resolution, "height", kFallbackHeight));
}

double renderAspect() {
    int width = 0;
    int height = 0;
    renderResolution(width, height);
    return height > 0 ? static_cast<double>(width) / height : 1.0;
}

}  // namespace host
