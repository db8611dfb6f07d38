#include "node/ResolutionInputs.h"

#include "node/CineSheet.h"

#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MSceneMessage.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <vector>

namespace {

std::vector<MCallbackId> callbackIds;

// An input the node was saved without: no connection, and no value ever given.
bool neverGiven(const MPlug& input) {
    return !input.isDestination() && input.asInt() <= 0;
}

// Connecting a referenced node's input would be written into the referencing scene as an edit of
// the reference; such a node keeps its inputs until its own scene is opened and saved.
void connectOldNodes(void*) {
    MSelectionList list;
    MObject resolution;
    MStringArray names;
    if (list.add("defaultResolution") != MStatus::kSuccess ||
        list.getDependNode(0, resolution) != MStatus::kSuccess ||
        MGlobal::executeCommand(MString("ls -type ") + CineSheet::className, names, false, false) !=
            MStatus::kSuccess) {
        return;
    }
    const MFnDependencyNode resolutionFn(resolution);
    const MPlug width = resolutionFn.findPlug("width", true);
    const MPlug height = resolutionFn.findPlug("height", true);
    // Not undoable: a modifier outside a command is not on the undo queue, so an undo after the
    // open cannot take the connections away again.
    MDGModifier connections;
    for (unsigned int i = 0; i < names.length(); ++i) {
        MSelectionList nodeList;
        MObject node;
        if (nodeList.add(names[i]) != MStatus::kSuccess ||
            nodeList.getDependNode(0, node) != MStatus::kSuccess ||
            MFnDependencyNode(node).isFromReferencedFile()) {
            continue;
        }
        const MPlug renderWidth(node, CineSheet::aRenderWidth);
        const MPlug renderHeight(node, CineSheet::aRenderHeight);
        if (neverGiven(renderWidth) && neverGiven(renderHeight)) {
            connections.connect(width, renderWidth);
            connections.connect(height, renderHeight);
        }
    }
    connections.doIt();
}

}  // namespace

MStatus registerResolutionCallbacks() {
    for (MSceneMessage::Message message :
         {MSceneMessage::kAfterOpen, MSceneMessage::kAfterImport}) {
        MStatus status;
        const MCallbackId id =
            MSceneMessage::addCallback(message, connectOldNodes, nullptr, &status);
        if (status != MStatus::kSuccess) {
            deregisterResolutionCallbacks();
            return status;
        }
        callbackIds.push_back(id);
    }
    return MStatus::kSuccess;
}

void deregisterResolutionCallbacks() {
    for (MCallbackId id : callbackIds) {
        MMessage::removeCallback(id);
    }
    callbackIds.clear();
}
