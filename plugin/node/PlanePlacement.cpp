#include "node/PlanePlacement.h"

#include <maya/MTransformationMatrix.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <cmath>

namespace {

constexpr double kMillimetresPerInch = 25.4;

// Share of the aperture that the render frame covers, when fitting the media horizontally.
double horizontalGateFactor(short filmFit, double resolutionAspect, double filmAspect) {
    switch (filmFit) {
        case 2:
            return resolutionAspect / filmAspect;
        case 0:
            return filmAspect > resolutionAspect ? resolutionAspect / filmAspect : 1.0;
        case 3:
            return resolutionAspect > filmAspect ? resolutionAspect / filmAspect : 1.0;
        default:
            return 1.0;
    }
}

double verticalGateFactor(short filmFit, double resolutionAspect, double filmAspect) {
    switch (filmFit) {
        case 1:
            return filmAspect / resolutionAspect;
        case 0:
            return resolutionAspect > filmAspect ? filmAspect / resolutionAspect : 1.0;
        case 3:
            return filmAspect > resolutionAspect ? filmAspect / resolutionAspect : 1.0;
        default:
            return 1.0;
    }
}

bool fitsHorizontally(short planeFit, double resolutionAspect, double frameRatio) {
    // Written as a negation so that a comparison with a non-number chooses horizontal.
    return planeFit == 1 || (planeFit == 0 && !(resolutionAspect >= frameRatio));
}

bool isFinite(const MMatrix& m) {
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            if (!std::isfinite(m(row, col))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

MMatrix planePlacement(const PlanePlacementInputs& in) {
    const double h = in.hApertureInches * kMillimetresPerInch;
    const double v = in.vApertureInches * kMillimetresPerInch;
    const double filmAspect = v > 0.0 ? h / v : 1.0;

    const bool horizontal = fitsHorizontally(in.planeFit, in.resolutionAspect, in.frameRatio);
    const double aperture = horizontal ? h : v;
    const double halfSize = horizontal ? 0.5 / in.frameRatio : 0.5;
    const double gate = horizontal
                            ? horizontalGateFactor(in.filmFit, in.resolutionAspect, filmAspect)
                            : verticalGateFactor(in.filmFit, in.resolutionAspect, filmAspect);

    double s = 0.0;
    double t = 0.0;  // scene units per film-back millimetre at the plane
    if (in.orthographic) {
        t = in.orthographicWidth / h;
        s = aperture * t * gate * halfSize * in.scale;
    } else {
        // The left-to-right order and this form of t (D / F up to rounding) are deliberate:
        // they fix the rounding of the result.
        s = aperture * in.depth / in.focalLength * gate * halfSize * in.scale;
        t = (64.0 / in.focalLength) * (0.015625 * in.depth);
    }

    MTransformationMatrix local;
    const double scale[3] = {s, s, s};
    local.setScale(scale, MSpace::kWorld);
    local.setTranslation(MVector(in.posX * t, in.posY * t, -in.depth), MSpace::kWorld);

    const MMatrix placement = local.asMatrix() * in.cameraWorld;
    return isFinite(placement) ? placement : MMatrix::identity;
}
