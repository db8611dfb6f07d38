#include "node/CineSheet.h"
#include "node/MelString.h"

#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>

namespace {

// The name a user knows the camera by: its transform's, else the shape's own.
MString cameraName(const MObject& cameraShape) {
    MStatus status;
    const MFnDagNode shapeFn(cameraShape, &status);
    if (!status) {
        return MString();
    }
    const MObject parent = shapeFn.parent(0, &status);
    if (status && !parent.isNull() && !parent.hasFn(MFn::kWorld)) {
        return MFnDagNode(parent).name();
    }
    return shapeFn.name();
}

// The warning is decided on the idle queue, once the edit under way is over: a camera swapped
// for another (cineSheet -edit -camera) or still there (a connection broken by hand) is no
// loss to warn about, and a plane deleted with its camera (a new scene) has nobody to tell.
void warnOnceCameraIsGone(const MString& node, const MObject& cameraShape) {
    const std::string nodeName = node.asChar();
    const std::string shapeName = MFnDagNode(cameraShape).name().asChar();
    const std::string text = nodeName + ": its camera " + cameraName(cameraShape).asChar() +
                             " was deleted; the plane stays where the camera left it"
                             " (cineSheet -edit -camera attaches it to another)";
    const std::string command = "if (`objExists " + melString(nodeName) + "` && !`objExists " +
                                melString(shapeName) + "`) warning " + melString(text) + ";";
    MGlobal::executeCommandOnIdle(MString(command.c_str()), false);
}

}  // namespace

MStatus CineSheet::connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) {
    if (!asSrc && plug == aCamWorldMtx) {
        MPlug lost(thisMObject(), aCameraLost);
        if (lost.asBool()) {
            lost.setBool(false);
        }
    }
    return MPxLocatorNode::connectionMade(plug, otherPlug, asSrc);
}

// Maya breaks a deleted node's connections, and the camera inputs keep the values they last
// received (their disconnect behaviour is to do nothing), so marking the camera lost is all it
// takes for the placement to stay.
MStatus CineSheet::connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc) {
    if (!asSrc && plug == aCamWorldMtx) {
        MPlug lost(thisMObject(), aCameraLost);
        if (!lost.asBool()) {
            lost.setBool(true);
        }
        warnOnceCameraIsGone(name(), otherPlug.node());
    }
    return MPxLocatorNode::connectionBroken(plug, otherPlug, asSrc);
}
