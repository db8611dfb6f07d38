#include "node/CineSheet.h"

#include "footage/MediaKind.h"
#include "node/FootageShape.h"
#include "node/PlanePlacement.h"
#include "node/WorkspacePath.h"

#include <maya/MDataHandle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnReference.h>
#include <maya/MGlobal.h>
#include <maya/MMatrix.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include <algorithm>

const char* const CineSheet::className = "CineSheet";
const MTypeId CineSheet::id(0x13B147);
const MString CineSheet::drawDbClassification("drawdb/geometry/CineSheet");
const MString CineSheet::drawRegistrantId(CineSheet::className);

MObject CineSheet::aOutCamMtx;
MObject CineSheet::aCamWorldMtx;
MObject CineSheet::aCamHAper;
MObject CineSheet::aCamVAper;
MObject CineSheet::aCamFocalLength;
MObject CineSheet::aCamFilmFit;
MObject CineSheet::aCamOrthographic;
MObject CineSheet::aCamOrthoWidth;
MObject CineSheet::aCameraLost;
MObject CineSheet::aRenderWidth;
MObject CineSheet::aRenderHeight;
MObject CineSheet::aFile;
MObject CineSheet::aFrame;
MObject CineSheet::aFrameOffset;
MObject CineSheet::aStartFrame;
MObject CineSheet::aEndFrame;
MObject CineSheet::aForceFrameRate;
MObject CineSheet::aPlaneFit;
MObject CineSheet::aPlaneDepth;
MObject CineSheet::aPlanePosX;
MObject CineSheet::aPlanePosY;
MObject CineSheet::aPlaneScale;
MObject CineSheet::aCacheFrames;
MObject CineSheet::aCacheRes;
MObject CineSheet::aCacheDepth;
MObject CineSheet::aColorSpace;
MObject CineSheet::aColorSpaceName;
MObject CineSheet::aGammaCorrect;
MObject CineSheet::aAlphaGain;
MObject CineSheet::aDisplayOnlyIfCurrent;
MObject CineSheet::aDisplayInfo;
MObject CineSheet::aHoldEndFrames;
MObject CineSheet::aFrameRatio;
MObject CineSheet::aKeyframeInterval;
MObject CineSheet::aSoundOffset;
MObject CineSheet::aSoundStart;
MObject CineSheet::aFootageKeyframeInterval;
MObject CineSheet::aFootageKeyframeFile;
MObject CineSheet::aFootageRoot;

CineSheet::CineSheet() = default;

CineSheet::~CineSheet() = default;

void* CineSheet::creator() {
    return new CineSheet();
}

// Nodes are made on the main thread, in the project of the moment: a scene is opened after its
// project is set. Into the data block: nothing has been computed from it yet, and a plug set
// would be an edit of a node that may be being read from a file.
void CineSheet::postConstructor() {
    MDataBlock block = forceCache();
    MDataHandle rootHandle = block.outputValue(aFootageRoot);
    rootHandle.setString(workspaceRoot());
    rootHandle.setClean();
}

// compute is arithmetic on the node's own inputs and a read of the footage file's header, which
// keeps nothing between calls and is safe on any thread (FFmpeg's log goes to a per-thread
// capture); nodes share nothing a compute writes. So it may run alongside any node. Maya's
// default for plug-in nodes, serial, would keep the whole evaluation graph around a plate from
// running in parallel for no reason.
MPxNode::SchedulingType CineSheet::schedulingType() const {
    return kParallel;
}

bool CineSheet::excludeAsLocator() const {
    return false;
}

std::shared_ptr<MediaFacts> CineSheet::mediaFactsOf(const MObject& node) {
    MStatus status;
    const MFnDependencyNode nodeFn(node, &status);
    if (!status || nodeFn.typeId() != id) {
        return nullptr;
    }
    const auto* sheet = dynamic_cast<const CineSheet*>(nodeFn.userNode());
    return sheet ? sheet->mediaFacts_ : nullptr;
}

MStatus CineSheet::compute(const MPlug& plug, MDataBlock& data) {
    if (plug == aOutCamMtx) {
        return computePlacement(data);
    }
    if (plug == aFrameRatio) {
        return computeFrameRatio(data);
    }
    if (plug == aKeyframeInterval) {
        return computeKeyframeInterval(data);
    }
    if (plug == aSoundOffset || plug == aSoundStart) {
        return computeSoundTiming(data);
    }
    return MStatus::kUnknownParameter;
}

// The plane shows video frame n at scene frame frameOffset + n, from startFrame on: the sound
// plays from that frame's place in the file where the plane shows it.
MStatus CineSheet::computeSoundTiming(MDataBlock& data) {
    const int start = std::max(data.inputValue(aStartFrame).asInt(), 0);
    const double offset = static_cast<double>(data.inputValue(aFrameOffset).asInt()) + start;
    MDataHandle offsetHandle = data.outputValue(aSoundOffset);
    offsetHandle.set(MTime(offset, MTime::uiUnit()));
    offsetHandle.setClean();
    MDataHandle startHandle = data.outputValue(aSoundStart);
    startHandle.set(MTime(static_cast<double>(start), MTime::uiUnit()));
    startHandle.setClean();
    return MStatus::kSuccess;
}

// Read when "file" changes, from the header alone, so that the plane is placed right before
// anything is drawn, in a session that never draws too. A file that cannot be read leaves the
// former value, so a scene whose footage is away keeps the placement it was saved with.
MStatus CineSheet::computeFrameRatio(MDataBlock& data) {
    MDataHandle output = data.outputValue(aFrameRatio);
    const MString path = footagePathIn(data);
    const std::optional<FrameShape> shape = readFootageShape(path);
    if (shape) {
        output.setDouble(shape->ratio());
    }
    output.setClean();
    return MStatus::kSuccess;
}

// An image is a block of one frame; a video's blocks are known once the draw override's worker
// has looked through it, and told the node through its hidden inputs.
MStatus CineSheet::computeKeyframeInterval(MDataBlock& data) {
    MDataHandle output = data.outputValue(aKeyframeInterval);
    const MString path = footagePathIn(data);
    if (isVideoPath(path.asChar())) {
        const bool known = data.inputValue(aFootageKeyframeFile).asString() == path;
        output.setInt(known ? data.inputValue(aFootageKeyframeInterval).asInt() : 0);
    } else {
        output.setInt(readFootageShape(path) ? 1 : 0);
    }
    output.setClean();
    return MStatus::kSuccess;
}

namespace {

// A plug set is an edit, which marks the scene modified (file -q -modified); clearing the flag
// with file -modified 0 when it was clear before keeps a scene the artist has not changed
// unmodified.
class SceneFlagKept {
public:
    SceneFlagKept() {
        if (!MGlobal::executeCommand("file -q -modified", wasModified_, false, false)) {
            wasModified_ = 1;
        }
    }
    ~SceneFlagKept() {
        if (wasModified_ == 0) {
            MGlobal::executeCommand("file -modified 0", false, false);
        }
    }
    SceneFlagKept(const SceneFlagKept&) = delete;
    SceneFlagKept& operator=(const SceneFlagKept&) = delete;

private:
    int wasModified_ = 1;
};

// Nor is what a node of a referenced file learns an edit of the reference to keep: the inputs it
// sets are not saved, so a kept edit would only clutter the referencing scene.
class ReferenceEditsIgnored {
public:
    ReferenceEditsIgnored() : wasIgnoring_(MFnReference::ignoreReferenceEdits()) {
        MFnReference::setIgnoreReferenceEdits(true);
    }
    ~ReferenceEditsIgnored() { MFnReference::setIgnoreReferenceEdits(wasIgnoring_); }
    ReferenceEditsIgnored(const ReferenceEditsIgnored&) = delete;
    ReferenceEditsIgnored& operator=(const ReferenceEditsIgnored&) = delete;

private:
    bool wasIgnoring_;
};

}  // namespace

void CineSheet::learnKeyframeInterval(const MString& file, int interval) {
    const SceneFlagKept flag;
    const ReferenceEditsIgnored noEdit;
    MPlug(thisMObject(), aFootageKeyframeFile).setString(file);
    MPlug(thisMObject(), aFootageKeyframeInterval).setInt(interval);
}

void CineSheet::learnWorkspaceRoot(const MString& root) {
    const SceneFlagKept flag;
    const ReferenceEditsIgnored noEdit;
    MPlug(thisMObject(), aFootageRoot).setString(root);
}

MString CineSheet::footagePathIn(MDataBlock& data) {
    return footagePath(data.inputValue(aFile).asString(), data.inputValue(aFootageRoot).asString());
}

MStatus CineSheet::computePlacement(MDataBlock& data) {
    MDataHandle output = data.outputValue(aOutCamMtx);

    // Without a camera there is nothing to follow: the plane stays where its transform puts it,
    // unless it had a camera, whose last values it keeps.
    MStatus status;
    const MPlug cameraWorldPlug(thisMObject(), aCamWorldMtx);
    const bool connected = cameraWorldPlug.isConnected(&status);
    const bool lost = data.inputValue(aCameraLost).asBool();
    if (status != MStatus::kSuccess || (!connected && !lost)) {
        output.setMMatrix(MMatrix::identity);
        output.setClean();
        return MStatus::kSuccess;
    }

    PlanePlacementInputs in;
    in.cameraWorld = data.inputValue(aCamWorldMtx).asMatrix();
    in.hApertureInches = data.inputValue(aCamHAper).asDouble();
    in.vApertureInches = data.inputValue(aCamVAper).asDouble();
    in.focalLength = data.inputValue(aCamFocalLength).asDouble();
    in.filmFit = data.inputValue(aCamFilmFit).asShort();
    in.orthographic = data.inputValue(aCamOrthographic).asBool();
    in.orthographicWidth = data.inputValue(aCamOrthoWidth).asDouble();
    in.planeFit = data.inputValue(aPlaneFit).asShort();
    in.depth = data.inputValue(aPlaneDepth).asDouble();
    in.posX = data.inputValue(aPlanePosX).asDouble();
    in.posY = data.inputValue(aPlanePosY).asDouble();
    in.scale = data.inputValue(aPlaneScale).asDouble();
    in.resolutionAspect = resolutionAspect(data);
    in.frameRatio = data.inputValue(aFrameRatio).asDouble();

    output.setMMatrix(planePlacement(in));
    output.setClean();
    return MStatus::kSuccess;
}

// The render resolution comes in through the node's own inputs; 0 (not given) frames the plane
// as for a square picture.
double CineSheet::resolutionAspect(MDataBlock& data) {
    const int width = data.inputValue(aRenderWidth).asInt();
    const int height = data.inputValue(aRenderHeight).asInt();
    if (width > 0 && height > 0) {
        return static_cast<double>(width) / static_cast<double>(height);
    }
    return 1.0;
}
