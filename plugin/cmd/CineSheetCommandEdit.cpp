#include "cmd/CineSheetCommand.h"

#include "cmd/ClipStart.h"
#include "decode/ClipFacts.h"
#include "footage/MediaKind.h"
#include "node/CineSheet.h"
#include "node/WorkspacePath.h"
#include "sequence/SequencePattern.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDagNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace {

bool isFailure(const MStatus& status) {
    return status != MStatus::kSuccess;
}

// The CineSheet shape named, directly or by its transform.
bool findSheet(const MString& name, MObject& sheet) {
    MSelectionList list;
    MObject node;
    if (!list.add(name, false) || !list.getDependNode(0, node)) {
        return false;
    }
    if (node.hasFn(MFn::kTransform)) {
        const MFnDagNode transformFn(node);
        for (unsigned int i = 0; i < transformFn.childCount(); ++i) {
            const MObject child = transformFn.child(i);
            if (MFnDependencyNode(child).typeId() == CineSheet::id) {
                sheet = child;
                return true;
            }
        }
        return false;
    }
    if (MFnDependencyNode(node).typeId() != CineSheet::id) {
        return false;
    }
    sheet = node;
    return true;
}

MStatus namedSheet(const MArgDatabase& argData, const char* mode, MObject& sheet) {
    MStringArray names;
    argData.getObjects(names);
    if (names.length() != 1 || !findSheet(names[0], sheet)) {
        MString message = MString("cineSheet: ") + mode + " needs one CineSheet node";
        if (names.length() == 1) {
            message += MString(", not \"") + names[0] + "\"";
        }
        MPxCommand::displayError(message);
        return MStatus::kInvalidParameter;
    }
    return MStatus::kSuccess;
}

MString resolvedFile(const MFnDependencyNode& sheetFn) {
    return footagePath(sheetFn.findPlug("file", true).asString(), workspaceRoot());
}

// The camera the node follows, by its transform's name; "" when it follows none.
MString attachedCamera(const MFnDependencyNode& sheetFn) {
    MPlugArray sources;
    const MPlug input = sheetFn.findPlug("cameraWorldMatrix", true);
    if (!input.connectedTo(sources, true, false) || sources.length() == 0) {
        return MString();
    }
    const MFnDagNode cameraFn(sources[0].node());
    const MObject parent = cameraFn.parent(0);
    return parent.hasFn(MFn::kTransform) ? MFnDagNode(parent).name() : cameraFn.name();
}

}  // namespace

// Both changes go through one modifier, so that one undo takes the whole edit back. The node's
// cameraLost is put on it first, at its value: undone last, it comes back to what it was before
// the old camera's connections were broken and made again.
MStatus CineSheetCommand::editNode(const MArgDatabase& argData) {
    MObject sheet;
    MStatus status = namedSheet(argData, "-edit", sheet);
    if (isFailure(status)) {
        return status;
    }
    MFnDependencyNode sheetFn(sheet);
    if (!argData.isFlagSet("-camera") && !argData.isFlagSet("-startFrame")) {
        displayError("cineSheet: -edit takes -camera or -startFrame");
        return MStatus::kInvalidParameter;
    }
    editing = true;
    if (argData.isFlagSet("-camera")) {
        argData.getFlagArgument("-camera", 0, cameraName);
        MObject camera;
        if (isFailure(getCamera(cameraName, camera))) {
            displayError(MString("cineSheet: \"") + cameraName + "\" is not a camera");
            return MStatus::kFailure;
        }
        const MPlug lost = sheetFn.findPlug("cameraLost", true);
        editModifier.newPlugValueBool(lost, lost.asBool());
        status = detachCamera(sheetFn, editModifier);
        if (!isFailure(status)) {
            status = connectCamera(sheetFn, editModifier);
        }
        if (isFailure(status)) {
            editModifier.undoIt();
            return status;
        }
    }
    if (argData.isFlagSet("-startFrame")) {
        argData.getFlagArgument("-startFrame", 0, startFrame);
        const MString file = sheetFn.findPlug("file", true).asString();
        const ClipStart clip(resolvedFile(sheetFn));
        if (!clip.known()) {
            displayError(ClipStart::cannotPlace(file));
            editModifier.undoIt();
            return MStatus::kFailure;
        }
        editModifier.newPlugValueInt(sheetFn.findPlug("frameOffset", true),
                                     clip.offsetFor(startFrame));
        status = editModifier.doIt();
        if (isFailure(status)) {
            editModifier.undoIt();
            return status;
        }
        setResult(startFrame);
    }
    return MStatus::kSuccess;
}

// A sequence counts the frames from its first file to its last, and has no rate or timecode of
// its own: it plays at the scene's rate.
MStatus CineSheetCommand::queryNode(const MArgDatabase& argData) {
    querying = true;
    MObject sheet;
    const MStatus status = namedSheet(argData, "-query", sheet);
    if (isFailure(status)) {
        return status;
    }
    const MFnDependencyNode sheetFn(sheet);
    if (argData.isFlagSet("-camera")) {
        setResult(attachedCamera(sheetFn));
        return MStatus::kSuccess;
    }
    const MString path = resolvedFile(sheetFn);
    if (argData.isFlagSet("-startFrame")) {
        const int offset = sheetFn.findPlug("frameOffset", true).asInt();
        setResult(ClipStart(path).startUnder(offset));
        return MStatus::kSuccess;
    }
    video::ClipFacts facts;
    if (isVideoPath(path.asChar())) {
        facts = video::readClipFacts(path.asChar()).value_or(video::ClipFacts());
    } else if (const auto onDisk = video::SequencePattern(path.asChar()).framesOnDisk()) {
        facts.frameCount = onDisk->length();
    }
    if (argData.isFlagSet("-frameCount")) {
        setResult(facts.frameCount);
    } else if (argData.isFlagSet("-frameRate")) {
        setResult(facts.frameRate);
    } else if (argData.isFlagSet("-startTimecode")) {
        setResult(MString(facts.startTimecode.c_str()));
    } else {
        displayError(
            "cineSheet: -query takes -camera, -startFrame, -frameCount, -frameRate or "
            "-startTimecode");
        return MStatus::kInvalidParameter;
    }
    return MStatus::kSuccess;
}
