#include "draw/AttachedCamera.h"

#include "node/CineSheet.h"

#include <maya/MFn.h>
#include <maya/MPlug.h>

bool looksThroughAttachedCamera(const MObject& node, const MDagPath& camera) {
    // The creation command feeds the camera shape's world matrix into the node.
    const MPlug source = MPlug(node, CineSheet::aCamWorldMtx).source();
    if (source.isNull()) {
        return true;
    }
    MDagPath view = camera;
    if (!view.hasFn(MFn::kCamera) && !view.extendToShape()) {
        return false;
    }
    return view.node() == source.node();
}
