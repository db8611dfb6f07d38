#include "cache/RefreshDeadline.h"
#include "draw/AttachedCamera.h"
#include "draw/CineSheetDrawOverride.h"
#include "draw/Readout.h"
#include "draw/RefreshKind.h"
#include "footage/FrameNumber.h"
#include "footage/MediaKind.h"
#include "node/CineSheet.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include <string>

namespace {

// What prepareForDraw reads of the node, through the node's own attributes.
struct NodeSnapshot {
    MString file;
    MString footageRoot;
    MTime time;
    int frameOffset = 0;
    int startFrame = 0;
    int endFrame = 0;
    int cacheFrames = 0;
    short cacheResolution = 0;
    short cacheDepth = 0;
    bool forceFrameRate = false;
    short colorSpace = 0;
    float gamma = 1.0f;
    double alphaGain = 1.0;
    bool displayOnlyIfCurrent = false;
    bool displayInfo = false;
    bool holdEndFrames = false;
};

NodeSnapshot readNode(const MObject& node) {
    NodeSnapshot in;
    in.file = MPlug(node, CineSheet::aFile).asString();
    in.footageRoot = MPlug(node, CineSheet::aFootageRoot).asString();
    in.time = MPlug(node, CineSheet::aFrame).asMTime();
    in.frameOffset = MPlug(node, CineSheet::aFrameOffset).asInt();
    in.startFrame = MPlug(node, CineSheet::aStartFrame).asInt();
    in.endFrame = MPlug(node, CineSheet::aEndFrame).asInt();
    in.cacheFrames = MPlug(node, CineSheet::aCacheFrames).asInt();
    in.cacheResolution = MPlug(node, CineSheet::aCacheRes).asShort();
    in.cacheDepth = MPlug(node, CineSheet::aCacheDepth).asShort();
    in.forceFrameRate = MPlug(node, CineSheet::aForceFrameRate).asBool();
    in.colorSpace = MPlug(node, CineSheet::aColorSpace).asShort();
    in.gamma = MPlug(node, CineSheet::aGammaCorrect).asFloat();
    in.alphaGain = MPlug(node, CineSheet::aAlphaGain).asDouble();
    in.displayOnlyIfCurrent = MPlug(node, CineSheet::aDisplayOnlyIfCurrent).asBool();
    in.displayInfo = MPlug(node, CineSheet::aDisplayInfo).asBool();
    in.holdEndFrames = MPlug(node, CineSheet::aHoldEndFrames).asBool();
    return in;
}

int divisorForCacheResolution(short cacheResolution) {
    switch (cacheResolution) {
        case 0:
            return 1;
        case 1:
            return 2;
        default:
            return 4;
    }
}

// Frames per second of the scene's current time unit.
double sceneFrameRate() {
    return 1.0 / MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds);
}

// A picture that must be exact and is not: said at once, as nothing follows to put it right.
void warnNotExact(const MObject& node, const MString& path, int frame, const FootageResult& result,
                  std::chrono::milliseconds waited) {
    const std::string what = result.mediaFrame >= 0 || result.standIn >= 0
                                 ? "frame " + std::to_string(result.mediaFrame) + " of \"" +
                                       path.asChar() + "\" was not ready"
                                 : "\"" + std::string(path.asChar()) + "\" was not open";
    const std::string instead =
        result.standIn >= 0 ? "frame " + std::to_string(result.standIn) + " is drawn in its place"
                            : "the loading card is drawn for frame " + std::to_string(frame);
    MGlobal::displayWarning((std::string(MFnDependencyNode(node).name().asChar()) + ": " + what +
                             " after waiting " + std::to_string(waited.count()) + " ms; " + instead)
                                .c_str());
}

}  // namespace

MUserData* CineSheetDrawOverride::prepareForDraw(const MDagPath& objPath, const MDagPath&,
                                                 const MHWRender::MFrameContext& frameContext,
                                                 MUserData* oldData) {
    MStatus status;
    const MObject node = objPath.node(&status);
    if (!status) {
        return nullptr;
    }
    const NodeSnapshot in = readNode(node);

    // Data of another kind is the host's to delete once another is returned.
    auto* data = dynamic_cast<CineSheetData*>(oldData);
    if (data == nullptr) {
        data = new CineSheetData();
    }
    // A view that does not show the node asks for no frame.
    ShownView& view = data->view();
    view.visible = !in.displayOnlyIfCurrent ||
                   looksThroughAttachedCamera(node, frameContext.getCurrentCameraPath());
    view.opacity = in.alphaGain;
    view.showInfo = in.displayInfo;
    if (!view.visible) {
        return data;
    }

    const int frame =
        frameNumberAt(in.time.as(MTime::uiUnit()), in.frameOffset, in.startFrame, in.endFrame);
    // Asked of the workspace only when path or frame change.
    const MString& path = workspace_.resolve(in.file.expandFilePath(), frame);
    reportWorkspaceRoot(objPath, in.footageRoot);
    // The colour space only changes how the texture is drawn, so a new choice shows at once,
    // even at a standing frame.
    data->setColorSpaceName(colorSpaceName(node, in.colorSpace, in.file));

    // A reload asked for drops the footage once, and every instance's picture of it.
    const unsigned reloads = mediaFacts_ ? mediaFacts_->reloadsRequested() : 0;
    if (reloads != footageReloads_) {
        footage_.reload();
        footageReloads_ = reloads;
    }
    if (data->reloadsSeen() != reloads) {
        data->forgetShown();
        data->setReloadsSeen(reloads);
    }

    const double frameRate = in.forceFrameRate ? sceneFrameRate() : 0.0;
    const ShownRequest request{path,          frame,           frameRate, in.cacheResolution,
                               in.cacheDepth, in.holdEndFrames};
    if (data->shows(request, in.gamma)) {
        return data;
    }
    gamma_.setGamma(in.gamma);

    FootageRequest wanted;
    wanted.path = path.asChar();
    wanted.frame = frame;
    wanted.sceneFrameRate = frameRate;
    wanted.divisor = isVideoPath(path.asChar()) ? divisorForCacheResolution(in.cacheResolution) : 1;
    wanted.cacheFrames = in.cacheFrames;
    wanted.holdEndFrames = in.holdEndFrames;
    wanted.depth = decode::cacheDepthFromAttribute(in.cacheDepth);
    // A gamma change at the frame shown uploads the frame held as it was read.
    wanted.checkFile = !data->showsFrameOf(request);
    data->forgetShown();
    data->textureShowsFootage(path);

    textureTrouble_ = TextureTrouble::kNone;
    // The nodes and instances of a refresh share its wait. Opening never holds an artist's
    // viewport: the file opens on its worker, which asks for a refresh once it is open.
    const RefreshKind kind = refreshKindOf(frameContext);
    const std::chrono::milliseconds wait = refreshWaitFor(kind);
    const auto now = video::RefreshDeadline::Clock::now();
    wanted.deadline = video::RefreshDeadline::instance().deadline(wait, now);
    wanted.openDeadline = kind == RefreshKind::kInteractive ? now : wanted.deadline;
    const FootageResult result = footage_.frameFor(
        wanted, [this, data](const unsigned char* pixels, const LoadedMedium& medium, int divisor) {
            return upload(*data, pixels, medium, divisor);
        });
    if (kind == RefreshKind::kExact && result.late) {
        warnNotExact(node, path, frame, result, wait);
    }
    // Whether the picture now stands until the request changes.
    bool settled = true;
    switch (result.answer) {
        case FootageAnswer::kShown:
            break;
        case FootageAnswer::kNotShown:
        case FootageAnswer::kBlank:
            showBlank(*data, result.medium, result.divisor);
            break;
        case FootageAnswer::kPlaceholder:
        case FootageAnswer::kEndedEarly:
            showCard(*data, result.medium);
            break;
        case FootageAnswer::kUnreadable:
        case FootageAnswer::kMissing:
            // Looked at again at the next refresh: a file that comes shows at once, and going
            // back to a former frame shows it again.
            showCard(*data, result.medium);
            settled = false;
            break;
        case FootageAnswer::kNotInTime:
            if (result.late) {
                // Nothing of the footage is held yet: the loading card, until its worker asks
                // for the refresh that shows the frame.
                showCard(*data, result.medium);
                view.readout = awaitedReadoutLine(
                    MString(), result.mediaFrame >= 0 ? result.mediaFrame : frame);
            } else if (result.medium.frameWidth > 0 &&
                       !data->texture().madeFor(result.medium, result.divisor)) {
                // The frame came and was not taken: another file's picture is not left standing.
                showBlank(*data, result.medium, result.divisor);
            }
            settled = false;
            break;
    }
    warnAbout(node, in.file, result);
    if (!settled || textureTrouble_ != TextureTrouble::kNone) {
        return data;
    }
    if (!result.held) {
        data->markShown(request, in.gamma);
    }
    const bool nothingToRead =
        result.answer == FootageAnswer::kMissing || result.answer == FootageAnswer::kPlaceholder;
    const int shownFrame = result.standIn >= 0 ? result.standIn : result.mediaFrame;
    const MString line = nothingToRead
                             ? MString()
                             : readoutLine(shownFrame, footage_.timecodeOf(shownFrame),
                                           Footage::fileShown(path.asChar(), shownFrame).c_str());
    view.readout = result.standIn >= 0 ? awaitedReadoutLine(line, result.mediaFrame) : line;
    reportKeyframeInterval(objPath, path);
    return data;
}
