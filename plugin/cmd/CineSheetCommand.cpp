#include "cmd/CineSheetCommand.h"

#include "cmd/ClipStart.h"
#include "node/ApiErrorReport.h"
#include "node/CineSheet.h"
#include "node/WorkspacePath.h"

#include <maya/MArgDatabase.h>
#include <maya/MFn.h>
#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <string>

namespace {

const char* const kCameraFlag = "-c";
const char* const kCameraFlagLong = "-camera";
const char* const kFilePathFlag = "-f";
const char* const kFilePathFlagLong = "-filePath";
const char* const kNoTimeFlag = "-nt";
const char* const kNoTimeFlagLong = "-noTime";
const char* const kAudioFlag = "-au";
const char* const kAudioFlagLong = "-audio";
const char* const kStartFrameFlag = "-sf";
const char* const kStartFrameFlagLong = "-startFrame";
// What -query gives of the clip alone.
const char* const kFrameCountFlag = "-fc";
const char* const kFrameCountFlagLong = "-frameCount";
const char* const kFrameRateFlag = "-fr";
const char* const kFrameRateFlagLong = "-frameRate";
const char* const kStartTimecodeFlag = "-stc";
const char* const kStartTimecodeFlagLong = "-startTimecode";

// Every check below reports a fixed line number: see ApiErrorReport.h.
MStatus fail(int line, const MStatus& status) {
    return reportApiError("../cmd", line, status);
}

bool failed(const MStatus& status) {
    return status != MStatus::kSuccess;
}

// One camera plug feeding one CineSheet input, with the report lines of its checks.
struct CameraLink {
    const char* cameraPlug;
    int cameraFindLine;
    int elementLine;  // 0 unless the camera plug is an array whose element 0 is used
    const char* shapePlug;
    int shapeFindLine;
    int connectLine;
};

constexpr CameraLink kCameraLinks[] = {
    {"worldMatrix", 119, 121, "cameraWorldMatrix", 132, 144},
    {"horizontalFilmAperture", 123, 0, "cameraHAperture", 134, 146},
    {"verticalFilmAperture", 125, 0, "cameraVAperture", 136, 148},
    {"focalLength", 127, 0, "cameraFocalLength", 138, 150},
    {"filmFit", 129, 0, "cameraFilmFit", 140, 152},
    {"orthographic", 208, 0, "cameraOrthographic", 209, 210},
    {"orthographicWidth", 211, 0, "cameraOrthographicWidth", 212, 213},
};
constexpr int kCameraLinkCount = sizeof(kCameraLinks) / sizeof(kCameraLinks[0]);

// One render resolution plug feeding one CineSheet input, with the report lines of its checks.
struct ResolutionLink {
    const char* resolutionPlug;
    int resolutionFindLine;
    const char* shapePlug;
    int shapeFindLine;
    int connectLine;
};

constexpr ResolutionLink kResolutionLinks[] = {
    {"width", 201, "renderWidth", 202, 203},
    {"height", 204, "renderHeight", 205, 206},
};

// The transform's own channels, locked so that a stray drag cannot move the plate off its
// camera, with the report lines of finding and locking each.
struct LockedChannel {
    const char* plug;
    int findLine;
    int lockLine;
};

constexpr LockedChannel kLockedChannels[] = {
    {"translate", 214, 215},
    {"rotate", 216, 217},
    {"scale", 218, 219},
};

}  // namespace

CineSheetCommand::~CineSheetCommand() = default;

void* CineSheetCommand::creator() {
    return new CineSheetCommand();
}

MSyntax CineSheetCommand::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(kCameraFlag, kCameraFlagLong, MSyntax::kString);
    syntax.addFlag(kFilePathFlag, kFilePathFlagLong, MSyntax::kString);
    syntax.addFlag(kNoTimeFlag, kNoTimeFlagLong, MSyntax::kBoolean);
    syntax.addFlag(kAudioFlag, kAudioFlagLong, MSyntax::kBoolean);
    syntax.addFlag(kStartFrameFlag, kStartFrameFlagLong, MSyntax::kLong);
    syntax.addFlag(kFrameCountFlag, kFrameCountFlagLong);
    syntax.addFlag(kFrameRateFlag, kFrameRateFlagLong);
    syntax.addFlag(kStartTimecodeFlag, kStartTimecodeFlagLong);
    // The node edited or queried; a creation names none.
    syntax.setObjectType(MSyntax::kStringObjects, 0, 1);
    syntax.enableEdit();
    syntax.enableQuery();
    return syntax;
}

bool CineSheetCommand::isUndoable() const {
    return !querying;
}

MStatus CineSheetCommand::doIt(const MArgList& args) {
    const MArgDatabase argData(syntax(), args);
    if (argData.isEdit()) {
        return editNode(argData);
    }
    if (argData.isQuery()) {
        return queryNode(argData);
    }
    if (argData.isFlagSet(kCameraFlag)) {
        argData.getFlagArgument(kCameraFlag, 0, cameraName);
    }
    if (argData.isFlagSet(kNoTimeFlag)) {
        argData.getFlagArgument(kNoTimeFlag, 0, noTime);
    }
    if (argData.isFlagSet(kFilePathFlag)) {
        argData.getFlagArgument(kFilePathFlag, 0, filePath);
    }
    if (argData.isFlagSet(kAudioFlag)) {
        argData.getFlagArgument(kAudioFlag, 0, audio);
    }
    startFrameGiven = argData.isFlagSet(kStartFrameFlag);
    if (startFrameGiven) {
        argData.getFlagArgument(kStartFrameFlag, 0, startFrame);
    }

    // A camera that cannot be resolved stops the command before anything is made.
    MObject camera;
    if (cameraName.length() > 0 && failed(getCamera(cameraName, camera))) {
        fail(112, MStatus::kFailure);
        MGlobal::displayError(MString("cineSheet: \"") + cameraName + "\" is not a camera");
        return MStatus::kFailure;
    }
    if (filePath.length() > 0 && failed(chooseStart())) {
        return MStatus::kFailure;
    }

    // A null parent makes the host create a transform under the world with the new shape as its
    // first child; the transform is returned.
    MStatus status;
    transformNode = dagModifier.createNode(CineSheet::className, MObject::kNullObj, &status);
    if (failed(status)) {
        return fail(76, status);
    }
    status = redoIt();
    // A failed command reaches no undo queue, so what it made is taken back here.
    if (failed(status)) {
        dagModifier.undoIt();
        return status;
    }
    if (audio) {
        importSound();
    }
    return status;
}

void CineSheetCommand::importSound() {
    const MFnDagNode transformFn(transformNode);
    const MObject shapeNode = transformFn.child(0);
    const MString audioNode = sound.make(shapeNode);
    // The commands run meanwhile may have set results of their own.
    MStringArray result;
    result.append(transformFn.name());
    result.append(MFnDagNode(shapeNode).name());
    if (audioNode.length() > 0) {
        result.append(audioNode);
    }
    if (placesClip) {
        result.append(MString(std::to_string(startFrame).c_str()));
    }
    setResult(result);
}

MStatus CineSheetCommand::undoIt() {
    if (editing) {
        return editModifier.undoIt();
    }
    const MStatus status = sound.remove();
    if (failed(status)) {
        return status;
    }
    return dagModifier.undoIt();
}

MStatus CineSheetCommand::redoIt() {
    if (editing) {
        return editModifier.doIt();
    }
    MStringArray result;
    result.append("");
    result.append("");

    MStatus status = dagModifier.doIt();
    if (failed(status)) {
        return fail(86, status);
    }
    MFnDagNode transformFn(transformNode, &status);
    if (failed(status)) {
        return fail(90, status);
    }
    MObject shapeNode = transformFn.child(0, &status);
    if (failed(status)) {
        return fail(92, status);
    }
    MFnDagNode shapeDagFn(shapeNode, &status);
    if (failed(status)) {
        return fail(94, status);
    }
    shapeDagFn.setName("cineSheetShape#", false, &status);
    if (failed(status)) {
        return fail(96, status);
    }
    result[1] = shapeDagFn.name();
    transformFn.setName("cineSheet#", false, &status);
    if (failed(status)) {
        return fail(99, status);
    }
    result[0] = transformFn.name();
    if (placesClip) {
        result.append(MString(std::to_string(startFrame).c_str()));
    }
    setResult(result);

    MFnDependencyNode shapeFn(shapeNode, &status);
    if (failed(status)) {
        return fail(105, status);
    }
    // Connections go through a modifier of their own: undoing the creation removes them with the
    // nodes, and a redo makes them again.
    MDGModifier connections;
    if (cameraName.length() > 0) {
        status = connectCamera(shapeFn, connections);
        if (failed(status)) {
            return status;
        }
    }
    if (!noTime) {
        status = connectTime(shapeFn, connections);
        if (failed(status)) {
            return status;
        }
    }
    if (filePath.length() > 0) {
        status = setFile(shapeFn);
        if (failed(status)) {
            return status;
        }
    }
    if (placesClip) {
        status = setStart(shapeFn);
        if (failed(status)) {
            return status;
        }
    }
    status = connectResolution(shapeFn, connections);
    if (failed(status)) {
        return status;
    }
    status = connectPlacement(shapeFn, connections);
    if (failed(status)) {
        return status;
    }
    status = lockTransform();
    if (failed(status)) {
        return status;
    }
    return sound.restore();
}

MStatus CineSheetCommand::connectCamera(MFnDependencyNode& shapeFn, MDGModifier& connections) {
    MObject camera;
    MStatus status = getCamera(cameraName, camera);
    if (failed(status)) {
        return fail(112, status);
    }
    MFnDependencyNode cameraFn(camera, &status);
    if (failed(status)) {
        return fail(116, status);
    }

    MPlug cameraPlugs[kCameraLinkCount];
    for (int i = 0; i < kCameraLinkCount; ++i) {
        const CameraLink& link = kCameraLinks[i];
        cameraPlugs[i] = cameraFn.findPlug(link.cameraPlug, true, &status);
        if (failed(status)) {
            return fail(link.cameraFindLine, status);
        }
        if (link.elementLine != 0) {
            cameraPlugs[i] = cameraPlugs[i].elementByLogicalIndex(0, &status);
            if (failed(status)) {
                return fail(link.elementLine, status);
            }
        }
    }
    MPlug shapePlugs[kCameraLinkCount];
    for (int i = 0; i < kCameraLinkCount; ++i) {
        shapePlugs[i] = shapeFn.findPlug(kCameraLinks[i].shapePlug, true, &status);
        if (failed(status)) {
            return fail(kCameraLinks[i].shapeFindLine, status);
        }
    }
    for (int i = 0; i < kCameraLinkCount; ++i) {
        status = connections.connect(cameraPlugs[i], shapePlugs[i]);
        if (failed(status)) {
            return fail(kCameraLinks[i].connectLine, status);
        }
    }
    status = connections.doIt();
    if (failed(status)) {
        return fail(155, status);
    }
    return MStatus::kSuccess;
}

MStatus CineSheetCommand::detachCamera(MFnDependencyNode& shapeFn, MDGModifier& modifier) {
    for (const CameraLink& link : kCameraLinks) {
        const MPlug input = shapeFn.findPlug(link.shapePlug, true);
        MPlugArray sources;
        if (input.connectedTo(sources, true, false) && sources.length() > 0) {
            const MStatus status = modifier.disconnect(sources[0], input);
            if (failed(status)) {
                return status;
            }
        }
    }
    return MStatus::kSuccess;
}

MStatus CineSheetCommand::connectTime(MFnDependencyNode& shapeFn, MDGModifier& connections) {
    MObject time;
    MStatus status = getTime(time);
    if (failed(status)) {
        return fail(162, status);
    }
    MFnDependencyNode timeFn(time, &status);
    if (failed(status)) {
        return fail(165, status);
    }
    const MPlug outTime = timeFn.findPlug("outTime", true, &status);
    if (failed(status)) {
        return fail(168, status);
    }
    const MPlug frame = shapeFn.findPlug("frame", true, &status);
    if (failed(status)) {
        return fail(170, status);
    }
    status = connections.connect(outTime, frame);
    if (failed(status)) {
        return fail(173, status);
    }
    status = connections.doIt();
    if (failed(status)) {
        return fail(175, status);
    }
    return MStatus::kSuccess;
}

MStatus CineSheetCommand::setFile(MFnDependencyNode& shapeFn) {
    MStatus status;
    MPlug file = shapeFn.findPlug("file", true, &status);
    if (failed(status)) {
        return fail(181, status);
    }
    // Set directly: the value goes away with the node on undo and is set again on redo. The
    // colour space is left to the file rules, as for Maya's file textures.
    file.setString(filePath);
    return MStatus::kSuccess;
}

// Only a new node is placed by default: a node already in a scene keeps its frameOffset, so
// stored scenes look as they did.
MStatus CineSheetCommand::chooseStart() {
    const ClipStart clip(footagePath(filePath, workspaceRoot()));
    if (!clip.known()) {
        if (startFrameGiven) {
            displayError(ClipStart::cannotPlace(filePath));
            return MStatus::kFailure;
        }
        return MStatus::kSuccess;
    }
    if (!startFrameGiven) {
        startFrame = clip.defaultStart();
    }
    placesClip = true;
    frameOffset = clip.offsetFor(startFrame);
    return MStatus::kSuccess;
}

// Set directly, as the file is: the value goes away with the node on undo.
MStatus CineSheetCommand::setStart(MFnDependencyNode& shapeFn) {
    MStatus status;
    MPlug offset = shapeFn.findPlug("frameOffset", true, &status);
    if (failed(status)) {
        return status;
    }
    return offset.setInt(frameOffset);
}

MStatus CineSheetCommand::connectResolution(MFnDependencyNode& shapeFn, MDGModifier& connections) {
    MSelectionList list;
    MObject resolution;
    if (failed(list.add("defaultResolution", false)) || failed(list.getDependNode(0, resolution))) {
        // A scene without render settings: the plane is framed as for a square picture.
        return MStatus::kSuccess;
    }
    MStatus status;
    MFnDependencyNode resolutionFn(resolution, &status);
    if (failed(status)) {
        return fail(200, status);
    }
    for (const ResolutionLink& link : kResolutionLinks) {
        const MPlug source = resolutionFn.findPlug(link.resolutionPlug, true, &status);
        if (failed(status)) {
            return fail(link.resolutionFindLine, status);
        }
        const MPlug destination = shapeFn.findPlug(link.shapePlug, true, &status);
        if (failed(status)) {
            return fail(link.shapeFindLine, status);
        }
        status = connections.connect(source, destination);
        if (failed(status)) {
            return fail(link.connectLine, status);
        }
    }
    status = connections.doIt();
    if (failed(status)) {
        return fail(207, status);
    }
    return MStatus::kSuccess;
}

MStatus CineSheetCommand::connectPlacement(MFnDependencyNode& shapeFn, MDGModifier& connections) {
    MStatus status;
    MFnDependencyNode transformFn(transformNode, &status);
    if (failed(status)) {
        return fail(187, status);
    }
    const MPlug cameraMatrix = shapeFn.findPlug("cameraMatrix", true, &status);
    if (failed(status)) {
        return fail(190, status);
    }
    // The plane follows the camera through its parent-offset matrix instead of being parented
    // under the camera, so its own transform stays free for the user.
    const MPlug offsetParentMatrix = transformFn.findPlug("offsetParentMatrix", true, &status);
    if (failed(status)) {
        return fail(192, status);
    }
    status = connections.connect(cameraMatrix, offsetParentMatrix);
    if (failed(status)) {
        return fail(195, status);
    }
    status = connections.doIt();
    if (failed(status)) {
        return fail(197, status);
    }
    return MStatus::kSuccess;
}

// Set on the plugs directly: the locks go with the transform on undo and are set again on redo.
// A user can unlock them by hand (setAttr -lock false).
MStatus CineSheetCommand::lockTransform() {
    MStatus status;
    MFnDependencyNode transformFn(transformNode, &status);
    if (failed(status)) {
        return fail(187, status);
    }
    for (const LockedChannel& channel : kLockedChannels) {
        MPlug plug = transformFn.findPlug(channel.plug, true, &status);
        if (failed(status)) {
            return fail(channel.findLine, status);
        }
        status = plug.setLocked(true);
        if (failed(status)) {
            return fail(channel.lockLine, status);
        }
    }
    return MStatus::kSuccess;
}

MStatus CineSheetCommand::getCamera(MString& name, MObject& camera) {
    MSelectionList list;
    if (failed(list.add(name, false))) {
        return MStatus::kFailure;
    }
    MObject node;
    list.getDependNode(0, node);

    MObject candidate;
    if (node.hasFn(MFn::kCamera)) {
        candidate = node;
    } else if (node.hasFn(MFn::kTransform)) {
        // Only the first child is looked at, as a camera transform holds its shape there.
        MFnDagNode transformFn(node);
        MStatus status;
        MObject child = transformFn.child(0, &status);
        if (failed(status) || !child.hasFn(MFn::kCamera)) {
            return MStatus::kFailure;
        }
        candidate = child;
    } else {
        return MStatus::kFailure;
    }
    camera = candidate;
    return camera.isNull() ? MStatus::kFailure : MStatus::kSuccess;
}

MStatus CineSheetCommand::getTime(MObject& time) {
    MSelectionList list;
    if (failed(list.add("time1", false))) {
        return MStatus::kFailure;
    }
    if (failed(list.getDependNode(0, time))) {
        return MStatus::kFailure;
    }
    return MStatus::kSuccess;
}
