#include "viewport/SceneReading.h"

#include <host/Scene.h>

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

namespace host {

MMatrix transformWorldMatrix(const MDagPath& path) {
    MDagPath transform = path;
    while (transform.length() > 1 && !transform.hasFn(MFn::kTransform)) {
        transform.pop();
    }
    return transform.inclusiveMatrix();
}

bool isVisible(const MDagPath& path) {
    MDagPath each = path;
    do {
        const MFnDependencyNode node(each.node());
        MStatus status;
        const MPlug visibility = node.findPlug("visibility", true, &status);
        if (status && !visibility.asBool()) {
            return false;
        }
    } while (each.length() > 1 && each.pop());
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
