#include "viewport/SceneReading.h"

#include <host/Scene.h>

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMatrixData.h>
#include <maya/MPlug.h>

namespace host {

MMatrix transformWorldMatrix(const MDagPath& path) {
    MStatus status;
    const MFnDependencyNode transform(path.transform(), &status);
    if (!status) {
        return MMatrix::identity;
    }
    const MPlug worldMatrix = transform.findPlug("worldMatrix", true, &status);
    if (!status) {
        return MMatrix::identity;
    }
    const MObject data = worldMatrix.elementByLogicalIndex(0).asMObject(&status);
    if (!status) {
        return MMatrix::identity;
    }
    return MFnMatrixData(data).matrix();
}

bool isVisible(const MObject& node) {
    MDagPath path;
    if (!MDagPath::getAPathTo(node, path)) {
        return true;
    }
    do {
        const MFnDependencyNode each(path.node());
        MStatus status;
        const MPlug visibility = each.findPlug("visibility", true, &status);
        if (status && !visibility.asBool()) {
            return false;
        }
    } while (path.length() > 1 && path.pop());
    return true;
}

bool isInScene(const MObject& node) {
    for (const MObject& each : sceneNodes()) {
        if (each == node) {
            return true;
        }
    }
    return false;
}

}  // namespace host
