#pragma once

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

// Locator that shows a video or image sequence on a plane in front of a camera. The node only
// holds attribute values and computes the plane's placement; loading and drawing belong to its
// draw override.
class CineSheet : public MPxLocatorNode {
public:
    CineSheet();
    ~CineSheet() override;

    static void* creator();
    static MStatus initialize();

    void postConstructor() override;
    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    // Viewport filters that hide locators must not hide the picture.
    bool excludeAsLocator() const override;

    // Render width / height from "defaultResolution", 1.0 when it cannot be read.
    double getResolutionAspectRatio();

    static const char* const className;
    static const MTypeId id;
    static const MString drawDbClassification;
    static const MString drawRegistrantId;

    // Placement output and the camera values it is computed from.
    static MObject aOutCamMtx;
    static MObject aCamWorldMtx;
    static MObject aCamHAper;
    static MObject aCamVAper;
    static MObject aCamFocalLength;
    static MObject aCamFilmFit;
    // Media and its timing.
    static MObject aFile;
    static MObject aFrame;
    static MObject aFrameOffset;
    static MObject aStartFrame;
    static MObject aEndFrame;
    static MObject aForceFrameRate;
    // Plane fit and position.
    static MObject aPlaneFit;
    static MObject aPlaneDepth;
    static MObject aPlanePosX;
    static MObject aPlanePosY;
    static MObject aPlaneScale;
    // Cache and colour.
    static MObject aCacheFrames;
    static MObject aCacheRes;
    static MObject aColorSpace;
    // The name of the colorSpace field chosen, kept with the scene.
    static MObject aColorSpaceName;
    static MObject aGammaCorrect;
    // Written back by the draw override once media is loaded.
    static MObject aFrameRatio;
    static MObject aKeyframeInterval;

private:
    // Looked up on first use and kept; a lookup that failed part-way is retried.
    MPlug resolutionWidthPlug;
    MPlug resolutionHeightPlug;
};
