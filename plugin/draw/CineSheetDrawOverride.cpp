#include "draw/CineSheetDrawOverride.h"

#include "draw/IdleDirty.h"
#include "node/CineSheet.h"

#include <maya/MGlobal.h>

MHWRender::MPxDrawOverride* CineSheetDrawOverride::creator(const MObject& obj) {
    return new CineSheetDrawOverride(obj);
}

CineSheetDrawOverride::CineSheetDrawOverride(const MObject& obj)
    : MHWRender::MPxDrawOverride(obj, nullptr, true), mediaFacts_(CineSheet::mediaFactsOf(obj)) {}

// The draw data, each with its texture, go before the override; the footage stops its workers
// and frees its frames with it.
CineSheetDrawOverride::~CineSheetDrawOverride() = default;

MHWRender::DrawAPI CineSheetDrawOverride::supportedDrawAPIs() const {
    return MHWRender::kAllDevices;
}

bool CineSheetDrawOverride::hasUIDrawables() const {
    return true;
}

// The enum fields come from the host's input spaces, but a value past the names shows no space
// rather than reading outside the list.
MString CineSheetDrawOverride::colorSpaceName(int colorSpace) {
    if (inputSpaceNames_.length() == 0) {
        MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", inputSpaceNames_, false,
                                false);
    }
    const bool knownSpace =
        colorSpace >= 1 && static_cast<unsigned int>(colorSpace) <= inputSpaceNames_.length();
    return knownSpace ? inputSpaceNames_[colorSpace - 1] : MString();
}

bool CineSheetDrawOverride::upload(CineSheetData& data, const unsigned char* pixels,
                                   const LoadedMedium& medium, int divisor) {
    if (!data.textureFor(medium, divisor)) {
        return false;
    }
    SheetTexture& texture = data.texture();
    return texture.upload(gamma_.apply(pixels, texture.frameBytes(), medium.texelFormat));
}

void CineSheetDrawOverride::showBlank(CineSheetData& data, const LoadedMedium& medium,
                                      int divisor) {
    if (data.textureFor(medium, divisor)) {
        data.texture().clear();
    }
}

void CineSheetDrawOverride::reportKeyframeInterval(const MDagPath& objPath, const MString& path) {
    const int interval = footage_.keyframeInterval();
    if (!mediaFacts_ || interval == 0 || (path == reportedPath_ && interval == reportedInterval_)) {
        return;
    }
    mediaFacts_->recordKeyframeInterval(path.asChar(), interval);
    reportedPath_ = path;
    reportedInterval_ = interval;
    dirtyOnIdle(objPath.fullPathName() + ".keyframeInterval");
}
