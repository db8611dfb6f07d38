#include "node/CineSheet.h"
#include "node/ColourConfiguration.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>

namespace {

// Attributes a user animates or drives from other nodes.
void makeAnimatable(MFnAttribute& fn) {
    fn.setStorable(true);
    fn.setKeyable(true);
    fn.setConnectable(true);
}

void makeCameraInput(MFnAttribute& fn) {
    fn.setKeyable(false);
    fn.setConnectable(true);
}

}  // namespace

MStatus CineSheet::initialize() {
    MFnNumericAttribute numericFn;
    MFnTypedAttribute typedFn;
    MFnMatrixAttribute matrixFn;
    MFnEnumAttribute enumFn;
    MFnUnitAttribute unitFn;

    // Every attribute and dependency below is registered through these, which keep the first
    // failure and skip what follows it; initialize returns that failure.
    MStatus status;
    const auto addAttribute = [&status](const MObject& attribute) {
        if (status) {
            status = MPxNode::addAttribute(attribute);
        }
    };
    const auto attributeAffects = [&status](const MObject& whenChanges, const MObject& isAffected) {
        if (status) {
            status = MPxNode::attributeAffects(whenChanges, isAffected);
        }
    };
    const auto addPlacementInput = [&](const MObject& attribute) {
        addAttribute(attribute);
        attributeAffects(attribute, aOutCamMtx);
    };

    aOutCamMtx = matrixFn.create("cameraMatrix", "cameraMatrix", MFnMatrixAttribute::kDouble);
    matrixFn.setStorable(false);
    matrixFn.setKeyable(false);
    addAttribute(aOutCamMtx);

    aCamWorldMtx =
        matrixFn.create("cameraWorldMatrix", "cameraWorldMatrix", MFnMatrixAttribute::kDouble);
    // Kept when the camera goes, and saved then (a connected value is not written), so that a
    // plane whose camera was deleted stays in place, also once the scene is opened again.
    makeCameraInput(matrixFn);
    matrixFn.setStorable(true);
    matrixFn.setDisconnectBehavior(MFnAttribute::kNothing);
    addPlacementInput(aCamWorldMtx);

    aCamHAper =
        numericFn.create("cameraHAperture", "cameraHAperture", MFnNumericData::kDouble, 1.417);
    makeCameraInput(numericFn);
    addPlacementInput(aCamHAper);

    aCamVAper =
        numericFn.create("cameraVAperture", "cameraVAperture", MFnNumericData::kDouble, 0.945);
    makeCameraInput(numericFn);
    addPlacementInput(aCamVAper);

    aCamFocalLength =
        numericFn.create("cameraFocalLength", "cameraFocalLength", MFnNumericData::kDouble, 35.0);
    makeCameraInput(numericFn);
    addPlacementInput(aCamFocalLength);

    aCamFilmFit = numericFn.create("cameraFilmFit", "cameraFilmFit", MFnNumericData::kShort, 1);
    makeCameraInput(numericFn);
    addPlacementInput(aCamFilmFit);

    aFile = typedFn.create("file", "file", MFnData::kString, MObject::kNullObj);
    typedFn.setStorable(true);
    typedFn.setUsedAsFilename(true);
    addAttribute(aFile);

    aFrame = unitFn.create("frame", "frame", MFnUnitAttribute::kTime, 0.0);
    makeAnimatable(unitFn);
    addAttribute(aFrame);

    aFrameOffset = numericFn.create("frameOffset", "offset", MFnNumericData::kInt, 0);
    makeAnimatable(numericFn);
    addAttribute(aFrameOffset);

    aStartFrame = numericFn.create("startFrame", "start", MFnNumericData::kInt, 0);
    makeAnimatable(numericFn);
    numericFn.setMin(0.0);
    addAttribute(aStartFrame);

    aEndFrame = numericFn.create("endFrame", "end", MFnNumericData::kInt, 0);
    makeAnimatable(numericFn);
    numericFn.setMin(0.0);
    addAttribute(aEndFrame);

    aForceFrameRate =
        numericFn.create("forceFrameRate", "forceFrameRate", MFnNumericData::kBoolean, 0);
    numericFn.setStorable(true);
    numericFn.setConnectable(true);
    addAttribute(aForceFrameRate);

    aPlaneFit = enumFn.create("planeFit", "fit", 0);
    makeAnimatable(enumFn);
    enumFn.addField("Auto", 0);
    enumFn.addField("Horizontal", 1);
    enumFn.addField("Vertical", 2);
    addPlacementInput(aPlaneFit);

    aPlaneDepth = numericFn.create("planeDepth", "depth", MFnNumericData::kDouble, 100.0);
    makeAnimatable(numericFn);
    numericFn.setMin(0.0);
    addPlacementInput(aPlaneDepth);

    aPlanePosX = numericFn.create("planePosX", "posX", MFnNumericData::kDouble, 0.0);
    makeAnimatable(numericFn);
    addPlacementInput(aPlanePosX);

    aPlanePosY = numericFn.create("planePosY", "posY", MFnNumericData::kDouble, 0.0);
    makeAnimatable(numericFn);
    addPlacementInput(aPlanePosY);

    aPlaneScale = numericFn.create("planeScale", "scl", MFnNumericData::kDouble, 1.0);
    makeAnimatable(numericFn);
    numericFn.setMin(0.0001);
    addPlacementInput(aPlaneScale);

    aCacheFrames = numericFn.create("cacheFrames", "cacheFrames", MFnNumericData::kInt, 120);
    makeAnimatable(numericFn);
    numericFn.setMin(0.0);
    numericFn.setMax(5000.0);
    addAttribute(aCacheFrames);

    aCacheRes = enumFn.create("cacheResolution", "cacheResolution", 0);
    enumFn.setStorable(true);
    enumFn.addField("Full", 0);
    enumFn.addField("Half", 1);
    enumFn.addField("Quarter", 2);
    addAttribute(aCacheRes);

    // Auto keeps float images as half float and everything else, video included, in 8 bits,
    // so ordinary footage takes the memory it always took.
    aCacheDepth = enumFn.create("cacheDepth", "cacheDepth", 0);
    enumFn.setStorable(true);
    enumFn.addField("Auto", 0);
    enumFn.addField("8-bit", 1);
    enumFn.addField("Half", 2);
    addAttribute(aCacheDepth);

    // "From File Rules" shows the footage in the space the colour management file rules give
    // its file, whichever file it is given later; choosing a space by hand keeps that space.
    // Then "None" (shown as stored) and the input spaces of the configuration in force.
    aColorSpace = enumFn.create("colorSpace", "colorSpace", ColourConfiguration::kFileRulesField);
    enumFn.setStorable(true);
    enumFn.addField("From File Rules", ColourConfiguration::kFileRulesField);
    enumFn.addField("None", ColourConfiguration::kNoSpaceField);
    ColourConfiguration::instance().refresh(aColorSpace);
    addAttribute(aColorSpace);

    aGammaCorrect = numericFn.create("gamma", "gamma", MFnNumericData::kFloat, 1.0);
    makeAnimatable(numericFn);
    numericFn.setMin(0.001);
    numericFn.setMax(10.0);
    addAttribute(aGammaCorrect);

    aFrameRatio = numericFn.create("frameRatio", "ratio", MFnNumericData::kDouble, 1.77);
    numericFn.setStorable(true);
    numericFn.setConnectable(false);
    numericFn.setHidden(true);
    numericFn.setMin(0.001);
    addPlacementInput(aFrameRatio);
    // Read from the file: a new file re-places the plane.
    attributeAffects(aFile, aFrameRatio);
    attributeAffects(aFile, aOutCamMtx);

    aKeyframeInterval =
        numericFn.create("keyframeInterval", "keyframeInterval", MFnNumericData::kInt, 0);
    numericFn.setStorable(false);
    numericFn.setConnectable(false);
    numericFn.setKeyable(false);
    numericFn.setHidden(true);
    numericFn.setMin(0.0);
    addAttribute(aKeyframeInterval);
    attributeAffects(aFile, aKeyframeInterval);

    // Inputs, not a lookup of "defaultResolution" inside compute: a change of the render
    // resolution reaches the placement only through a connection. 0 means not given.
    aRenderWidth = numericFn.create("renderWidth", "renderWidth", MFnNumericData::kInt, 0);
    makeCameraInput(numericFn);
    numericFn.setMin(0.0);
    addPlacementInput(aRenderWidth);

    aRenderHeight = numericFn.create("renderHeight", "renderHeight", MFnNumericData::kInt, 0);
    makeCameraInput(numericFn);
    numericFn.setMin(0.0);
    addPlacementInput(aRenderHeight);

    // The name of the "colorSpace" field, kept with the scene so that another configuration's
    // list shows the same space (see ColorSpaceChoice.h).
    aColorSpaceName = typedFn.create("colorSpaceName", "csn", MFnData::kString, MObject::kNullObj);
    typedFn.setStorable(true);
    typedFn.setKeyable(false);
    typedFn.setConnectable(false);
    typedFn.setHidden(true);
    addAttribute(aColorSpaceName);

    // An orthographic camera frames orthographicWidth scene units across its film back; Maya's
    // camera defaults: perspective, 10 units.
    aCamOrthographic =
        numericFn.create("cameraOrthographic", "cameraOrthographic", MFnNumericData::kBoolean, 0);
    makeCameraInput(numericFn);
    addPlacementInput(aCamOrthographic);

    aCamOrthoWidth = numericFn.create("cameraOrthographicWidth", "cameraOrthographicWidth",
                                      MFnNumericData::kDouble, 10.0);
    makeCameraInput(numericFn);
    addPlacementInput(aCamOrthoWidth);

    // Named as on Maya's image plane, so that artists and scripts find them.
    aAlphaGain = numericFn.create("alphaGain", "ag", MFnNumericData::kDouble, 1.0);
    makeAnimatable(numericFn);
    numericFn.setMin(0.0);
    numericFn.setMax(1.0);
    addAttribute(aAlphaGain);

    aDisplayOnlyIfCurrent =
        numericFn.create("displayOnlyIfCurrent", "dic", MFnNumericData::kBoolean, 0);
    numericFn.setStorable(true);
    numericFn.setKeyable(false);
    numericFn.setConnectable(true);
    addAttribute(aDisplayOnlyIfCurrent);

    aDisplayInfo = numericFn.create("displayInfo", "displayInfo", MFnNumericData::kBoolean, 0);
    numericFn.setStorable(true);
    numericFn.setKeyable(false);
    numericFn.setConnectable(true);
    addAttribute(aDisplayInfo);

    // Off by default: Autodesk does not document what Maya's image plane shows past the ends of
    // its image sequence, so the conservative reading is taken, never to pass off another frame
    // as the one asked for. Holding the end files is there for plates cut short of the edit.
    aHoldEndFrames = numericFn.create("holdEndFrames", "hold", MFnNumericData::kBoolean, 0);
    numericFn.setStorable(true);
    numericFn.setKeyable(false);
    numericFn.setConnectable(true);
    addAttribute(aHoldEndFrames);

    // Set by the node itself from the idle queue once a worker knows the video (see
    // learnKeyframeInterval); never saved, so a saved scene is as before.
    aFootageKeyframeInterval = numericFn.create("footageKeyframeInterval",
                                                "footageKeyframeInterval", MFnNumericData::kInt, 0);
    numericFn.setStorable(false);
    numericFn.setConnectable(false);
    numericFn.setKeyable(false);
    numericFn.setHidden(true);
    numericFn.setMin(0.0);
    addAttribute(aFootageKeyframeInterval);
    attributeAffects(aFootageKeyframeInterval, aKeyframeInterval);

    aFootageKeyframeFile = typedFn.create("footageKeyframeFile", "footageKeyframeFile",
                                          MFnData::kString, MObject::kNullObj);
    typedFn.setStorable(false);
    typedFn.setConnectable(false);
    typedFn.setKeyable(false);
    typedFn.setHidden(true);
    addAttribute(aFootageKeyframeFile);
    attributeAffects(aFootageKeyframeFile, aKeyframeInterval);

    // The project root relative paths are read from, so that compute asks nothing of Maya but
    // its inputs. Set by the node itself (see learnWorkspaceRoot); never saved: a scene opened in
    // another project reads its footage from there.
    aFootageRoot =
        typedFn.create("footageRoot", "footageRoot", MFnData::kString, MObject::kNullObj);
    typedFn.setStorable(false);
    typedFn.setConnectable(false);
    typedFn.setKeyable(false);
    typedFn.setHidden(true);
    addAttribute(aFootageRoot);
    attributeAffects(aFootageRoot, aFrameRatio);
    attributeAffects(aFootageRoot, aKeyframeInterval);
    attributeAffects(aFootageRoot, aOutCamMtx);

    // Set by the node itself when its camera goes (see CineSheetCamera.cpp); false, and so not
    // written, for every plane that has its camera or never had one.
    aCameraLost = numericFn.create("cameraLost", "cameraLost", MFnNumericData::kBoolean, 0);
    numericFn.setStorable(true);
    numericFn.setKeyable(false);
    numericFn.setConnectable(false);
    numericFn.setHidden(true);
    addPlacementInput(aCameraLost);

    aSoundOffset = unitFn.create("soundOffset", "soundOffset", MFnUnitAttribute::kTime, 0.0);
    aSoundStart = unitFn.create("soundStart", "soundStart", MFnUnitAttribute::kTime, 0.0);
    for (const MObject& attribute : {aSoundOffset, aSoundStart}) {
        MFnUnitAttribute timeFn(attribute);
        timeFn.setStorable(false);
        timeFn.setWritable(false);
        timeFn.setKeyable(false);
        timeFn.setHidden(true);
        addAttribute(attribute);
        attributeAffects(aStartFrame, attribute);
    }
    attributeAffects(aFrameOffset, aSoundOffset);

    return status;
}
