#include "draw/CineSheetData.h"

#include "draw/QuadCorners.h"

namespace {

// Width over height of the medium's picture, in single precision (square pixels give exactly
// W / H): the quad's half width.
float quadAspect(const LoadedMedium& medium) {
    return static_cast<float>(static_cast<long long>(medium.frameWidth) * medium.pixelAspect.num) /
           static_cast<float>(static_cast<long long>(medium.frameHeight) * medium.pixelAspect.den);
}

}  // namespace

CineSheetData::CineSheetData() : MUserData() {
    setQuadCorners(positions_, 1.0);
    texCoords_.append(0.0, 0.0, 0.0, 1.0);
    texCoords_.append(1.0, 0.0, 0.0, 1.0);
    texCoords_.append(1.0, 1.0, 0.0, 1.0);
    texCoords_.append(0.0, 0.0, 0.0, 1.0);
    texCoords_.append(1.0, 1.0, 0.0, 1.0);
    texCoords_.append(0.0, 1.0, 0.0, 1.0);
}

CineSheetData::~CineSheetData() = default;

bool CineSheetData::textureFor(const LoadedMedium& medium, int divisor) {
    if (texture_.madeFor(medium, divisor)) {
        return true;
    }
    if (!texture_.make(medium, divisor)) {
        setQuadCorners(positions_, 1.0);
        return false;
    }
    lastShape_ = medium;
    setQuadCorners(positions_, static_cast<double>(quadAspect(medium)));
    return true;
}

void CineSheetData::dropTexture() {
    texture_.release();
}

bool CineSheetData::showCard(const LoadedMedium& medium) {
    const LoadedMedium& shape = medium.frameWidth > 0 ? medium : lastShape_;
    if (!texture_.makeCard(shape)) {
        setQuadCorners(positions_, 1.0);
        return false;
    }
    setQuadCorners(positions_, shape.frameWidth > 0 ? static_cast<double>(quadAspect(shape)) : 1.0);
    return true;
}

void CineSheetData::textureShowsFootage(const MString& path) {
    if (path != footagePath_) {
        texture_.release();
        footagePath_ = path;
    }
}

bool CineSheetData::shows(const ShownRequest& request, double gamma) const {
    return shown_ && *shown_ == request && shownGamma_ == gamma;
}

bool CineSheetData::showsFrameOf(const ShownRequest& request) const {
    return shown_ && shown_->path == request.path && shown_->frame == request.frame;
}

void CineSheetData::markShown(const ShownRequest& request, double gamma) {
    shown_ = request;
    shownGamma_ = gamma;
}
