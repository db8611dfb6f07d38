#include "node/PlanePlacement.h"

#include <maya/MMatrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kHd1080 = 1920.0 / 1080.0;

PlanePlacementInputs defaultInputs(double resolutionAspect) {
    PlanePlacementInputs in;
    in.cameraWorld = MMatrix::identity;
    in.hApertureInches = 1.417;
    in.vApertureInches = 0.945;
    in.focalLength = 35.0;
    in.filmFit = 1;
    in.planeFit = 0;
    in.depth = 100.0;
    in.scale = 1.0;
    in.resolutionAspect = resolutionAspect;
    in.frameRatio = 1.77;
    return in;
}

double planeScale(const MMatrix& m) {
    return m(0, 0);
}

// Where a point given in the plane's local space ends up.
void carry(const double local[4], const MMatrix& m, double out[4]) {
    for (int col = 0; col < 4; ++col) {
        out[col] = 0.0;
        for (int row = 0; row < 4; ++row) {
            out[col] += local[row] * m(row, col);
        }
    }
}

TEST(PlanePlacement, AutoFitTakesVerticalAxisWhenAspectsAreEqualAsAnUnknownFitDoes) {
    PlanePlacementInputs in = defaultInputs(kHd1080);
    in.frameRatio = kHd1080;
    const double vertical = planeScale(planePlacement(in));
    in.planeFit = 2;
    EXPECT_DOUBLE_EQ(vertical, planeScale(planePlacement(in)));

    in.planeFit = 0;
    in.frameRatio = std::nextafter(kHd1080, 10.0);
    const double justWider = planeScale(planePlacement(in));
    in.planeFit = 1;
    EXPECT_DOUBLE_EQ(justWider, planeScale(planePlacement(in)));
    EXPECT_NE(justWider, vertical);

    // An unknown fit takes the vertical axis.
    in = defaultInputs(640.0 / 480.0);
    in.planeFit = 2;
    const double tall = planeScale(planePlacement(in));
    in.planeFit = 7;
    EXPECT_DOUBLE_EQ(planeScale(planePlacement(in)), tall);
}

// The render frame, in film-back millimetres, that each camera film-fit mode makes of the film
// back for a resolution aspect: horizontal fit keeps the film width, vertical fit the height,
// fill fits the frame inside the film back, overscan around it.
struct Frame {
    double width;
    double height;
};

Frame renderFrame(short filmFit, double h, double v, double resolutionAspect) {
    const Frame keepWidth{h, h / resolutionAspect};
    const Frame keepHeight{v * resolutionAspect, v};
    const bool wider = resolutionAspect > h / v;
    switch (filmFit) {
        case 0:
            return wider ? keepWidth : keepHeight;
        case 1:
            return keepWidth;
        case 2:
            return keepHeight;
        case 3:
            return wider ? keepHeight : keepWidth;
        default:
            return {h, v};
    }
}

TEST(PlanePlacement, EveryFilmFitFillsTheRenderFrameOnBothAxes) {
    const double h = 1.417 * 25.4;
    const double v = 0.945 * 25.4;
    for (double resolutionAspect : {1.0, 2.35}) {
        for (short filmFit : {0, 1, 2, 3, 9}) {
            for (short planeFit : {1, 2}) {
                SCOPED_TRACE(::testing::Message() << "aspect " << resolutionAspect << " fit "
                                                  << filmFit << " axis " << planeFit);
                PlanePlacementInputs in = defaultInputs(resolutionAspect);
                in.filmFit = filmFit;
                in.planeFit = planeFit;
                in.scale = 1.5;
                const double s = planeScale(planePlacement(in));
                const Frame frame = renderFrame(filmFit, h, v, resolutionAspect);
                const double atDepth = in.depth / in.focalLength * in.scale;
                if (planeFit == 1) {
                    const double width = filmFit == 9 ? h : frame.width;
                    EXPECT_NEAR(2.0 * s * in.frameRatio, width * atDepth, 1e-9);
                } else {
                    const double height = filmFit == 9 ? v : frame.height;
                    EXPECT_NEAR(2.0 * s, height * atDepth, 1e-9);
                }
            }
        }
    }
}

TEST(PlanePlacement, ZeroVerticalApertureCountsAsSquareFilm) {
    PlanePlacementInputs in = defaultInputs(2.0);
    in.vApertureInches = 0.0;
    in.planeFit = 1;
    in.filmFit = 2;
    // Gate factor Ar / Af with Af = 1.
    EXPECT_NEAR(planeScale(planePlacement(in)), 1.417 * 25.4 * 100.0 / 35.0 * 2.0 * 0.5 / 1.77,
                1e-9);
}

TEST(PlanePlacement, DepthAndFocalLengthScaleTheResult) {
    PlanePlacementInputs in = defaultInputs(kHd1080);
    in.posX = 3.0;
    in.posY = -2.0;
    const MMatrix base = planePlacement(in);

    in.depth = 200.0;
    const MMatrix deeper = planePlacement(in);
    EXPECT_NEAR(planeScale(deeper), 2.0 * planeScale(base), 1e-9);
    for (int col = 0; col < 3; ++col) {
        EXPECT_NEAR(deeper(3, col), 2.0 * base(3, col), 1e-9);
    }

    in.depth = 100.0;
    in.focalLength = 70.0;
    const MMatrix longer = planePlacement(in);
    EXPECT_NEAR(planeScale(longer), 0.5 * planeScale(base), 1e-9);
    EXPECT_NEAR(longer(3, 0), 0.5 * base(3, 0), 1e-9);
    EXPECT_NEAR(longer(3, 1), 0.5 * base(3, 1), 1e-9);
    EXPECT_DOUBLE_EQ(longer(3, 2), -100.0);
}

TEST(PlanePlacement, PlaneIsPlacedInCameraSpaceThenCarriedToWorld) {
    // Camera turned a quarter turn about Y (looking down world -X) and standing at (10, 20, 30).
    const double camera[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {10, 20, 30, 1}};
    PlanePlacementInputs in = defaultInputs(kHd1080);
    in.cameraWorld = MMatrix(camera);
    in.posX = 1.0;
    const MMatrix m = planePlacement(in);

    const double t = 100.0 / 35.0;
    const double planeOrigin[4] = {1.0 * t, 0.0, -100.0, 1.0};
    double expected[4];
    carry(planeOrigin, in.cameraWorld, expected);
    const double origin[4] = {0, 0, 0, 1};
    double actual[4];
    carry(origin, m, actual);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-9);
    }
    EXPECT_NEAR(expected[0], -90.0, 1e-9);  // 100 in front of the camera along world -X
    // The plane's own X axis follows the camera's.
    EXPECT_NEAR(m(0, 2), -planeScale(planePlacement(defaultInputs(kHd1080))), 1e-9);
}

TEST(PlanePlacement, InputsWithoutFinitePlacementGiveIdentity) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double brokenCamera[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {inf, 0, 0, 1}};

    PlanePlacementInputs zeroFocal = defaultInputs(kHd1080);
    zeroFocal.focalLength = 0.0;
    PlanePlacementInputs zeroFocalAndDepth = zeroFocal;
    zeroFocalAndDepth.depth = 0.0;
    PlanePlacementInputs nanOffset = defaultInputs(kHd1080);
    nanOffset.posY = nan;
    PlanePlacementInputs infiniteCamera = defaultInputs(kHd1080);
    infiniteCamera.cameraWorld = MMatrix(brokenCamera);
    PlanePlacementInputs zeroRatio = defaultInputs(kHd1080);
    zeroRatio.planeFit = 1;
    zeroRatio.frameRatio = 0.0;

    for (const PlanePlacementInputs& in :
         {zeroFocal, zeroFocalAndDepth, nanOffset, infiniteCamera, zeroRatio}) {
        EXPECT_EQ(planePlacement(in), MMatrix::identity);
    }
}

}  // namespace

namespace {

// An orthographic camera frames orthographicWidth units across its film back, at any depth:
// fitted horizontally the media quad (2 × ratio wide in its own units) spans that width, and the
// film offset moves it by the same units per millimetre.
TEST(PlanePlacement, OrthographicCameraFramesItsWidthAtAnyDepth) {
    PlanePlacementInputs in = defaultInputs(1.417 / 0.945);
    in.orthographic = true;
    in.planeFit = 1;
    for (const double width : {30.0, 300.0}) {
        for (const double depth : {1.0, 100.0, 900.0}) {
            in.orthographicWidth = width;
            in.depth = depth;
            const MMatrix m = planePlacement(in);
            EXPECT_NEAR(2.0 * in.frameRatio * planeScale(m), width, 1e-9);
            EXPECT_DOUBLE_EQ(m(3, 2), -depth);
        }
    }
    in.posX = 1.417 * 25.4 / 2;
    EXPECT_NEAR(planePlacement(in)(3, 0), in.orthographicWidth / 2, 1e-9);
    // Another focal length changes nothing.
    const MMatrix before = planePlacement(in);
    in.focalLength = 85.0;
    EXPECT_TRUE(planePlacement(in).isEquivalent(before));
}

}  // namespace
