#include "draw/CineSheetDrawOverride.h"
#include "draw/FileProbe.h"
#include "draw/FrameAspect.h"
#include "draw/FrameNumber.h"
#include "draw/MediaKind.h"

#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

namespace {

// Positions of the plugs in the snapshot that prepareForDraw takes of the node.
enum SnapshotPlug {
    kFile,
    kFrame,
    kFrameOffset,
    kStartFrame,
    kEndFrame,
    kCacheFrames,
    kCacheResolution,
    kForceFrameRate,
    kColorSpace,
    kGamma,
    kFrameRatio,
    kKeyframeInterval,
    kSnapshotPlugCount
};

const MStringArray& snapshotNames() {
    static const MString names[kSnapshotPlugCount] = {
        "file",       "frame",       "frameOffset",     "startFrame",
        "endFrame",   "cacheFrames", "cacheResolution", "forceFrameRate",
        "colorSpace", "gamma",       "frameRatio",      "keyframeInterval"};
    static const MStringArray list(names, kSnapshotPlugCount);
    return list;
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

// The enum fields come from the host's input spaces, but a value past the names shows no space
// rather than reading outside the list.
MString colorSpaceName(const MStringArray& inputSpaceNames, int colorSpace) {
    const bool knownSpace =
        colorSpace >= 1 && static_cast<unsigned int>(colorSpace) <= inputSpaceNames.length();
    return knownSpace ? inputSpaceNames[colorSpace - 1] : MString();
}

// Frames per second of the scene's current time unit.
double sceneFrameRate() {
    return 1.0 / MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds);
}

}  // namespace

MUserData* CineSheetDrawOverride::prepareForDraw(const MDagPath& objPath, const MDagPath&,
                                                 const MHWRender::MFrameContext&,
                                                 MUserData* oldData) {
    MStatus status;
    const MObject node = objPath.node(&status);
    if (!status) {
        return nullptr;
    }
    MPlugArray plugs;
    if (!getLocatorAttrData(node, snapshotNames(), plugs)) {
        return nullptr;
    }
    MString path = plugs[kFile].asString();
    const MTime time = plugs[kFrame].asMTime();
    const int frameOffset = plugs[kFrameOffset].asInt();
    const int startFrame = plugs[kStartFrame].asInt();
    const int endFrame = plugs[kEndFrame].asInt();
    const int cacheFrames = plugs[kCacheFrames].asInt();
    const short cacheResolution = plugs[kCacheResolution].asShort();
    const bool forceFrameRate = plugs[kForceFrameRate].asBool();
    const int colorSpace = plugs[kColorSpace].asShort();
    const float gamma = plugs[kGamma].asFloat();
    MPlug frameRatioPlug = plugs[kFrameRatio];
    MPlug keyframeIntervalPlug = plugs[kKeyframeInterval];

    CineSheetData* data = dynamic_cast<CineSheetData*>(oldData);
    bool adopted = false;
    if (data == nullptr) {
        data = initUserData();
        if (texture != nullptr) {
            data->texture = texture;
            createTexture(data);
            adopted = true;
        }
    }

    const int frame = frameNumberAt(time.as(MTime::uiUnit()), frameOffset, startFrame, endFrame);
    const double frameRate = forceFrameRate ? sceneFrameRate() : 0.0;
    path = workspacePath.resolve(path.expandFilePath(), frame);

    // The colour space only changes how the texture is drawn, so a new choice shows at once,
    // even at a standing frame.
    data->colorSpaceName = colorSpaceName(inputSpaceNames, colorSpace);

    // The scene frame and its rate are compared, not the video frame they lead to: that one is
    // known only once the file is open.
    const ShownRequest request{path, frame, frameRate, cacheResolution};
    const bool sameRequest = shownRequest && *shownRequest == request;
    const bool sameGamma = static_cast<double>(gamma) == tableGamma;
    if (sameRequest && sameGamma && !adopted) {
        return data;
    }
    shownRequest.reset();

    if (inputSpaceNames.length() == 0) {
        MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", inputSpaceNames, false,
                                false);
        data->colorSpaceName = colorSpaceName(inputSpaceNames, colorSpace);
    }

    MString firstFile = path;
    formatFilePath(firstFile, frame);
    if (!isReadableRegularFile(firstFile)) {
        // A frame missing from the sequence shown leaves its other frames held.
        if (!sequences.isOpen(path.asChar())) {
            sequences.close();
        }
        clearTexture(data);
        clearAllData(data);
        currentPath = path;
        lastFrame = frame;
        shownRequest = request;
        return data;
    }

    if (isVideoPath(path)) {
        sequences.close();
        const int divisor = divisorForCacheResolution(cacheResolution);
        setResolutionDivisor(divisor);
        videoCache.setResolutionDivisor(divisor);
        if (processVideo(path, frame, cacheFrames, frameRate, gamma, data)) {
            shownRequest = request;
        }
    } else {
        setResolutionDivisor(1);
        if (adopted) {
            // The fresh draw data's texture holds no picture yet: load the image into it
            // even when path, frame and gamma are unchanged (" " is the nothing-loaded path).
            currentPath = " ";
        }
        processImage(path, frame, cacheFrames, gamma, data);
        if (currentPath == path && lastFrame == frame) {
            shownRequest = request;
        }
    }

    if (medium.frameHeight > 0) {
        // Written only when they change: each write dirties the placement matrix.
        const double ratio = frameRatio(medium);
        if (frameRatioPlug.asDouble() != ratio) {
            frameRatioPlug.setDouble(ratio);
        }
        if (keyframeIntervalPlug.asInt() != medium.keyframeInterval) {
            keyframeIntervalPlug.setInt(medium.keyframeInterval);
        }
    }
    return data;
}

bool CineSheetDrawOverride::ShownRequest::operator==(const ShownRequest& other) const {
    return path == other.path && frame == other.frame && sceneFrameRate == other.sceneFrameRate &&
           cacheResolution == other.cacheResolution;
}
