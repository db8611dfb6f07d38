#pragma once

#include <maya/MCacheSchema.h>
#include <maya/MDataBlock.h>
#include <maya/MEvaluationNode.h>
#include <maya/MNodeCacheDisablingInfo.h>
#include <maya/MNodeCacheSetupInfo.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPlug.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include "node/MediaFacts.h"

#include <memory>

// Locator that shows a video or image sequence on a plane in front of a camera. The node holds
// attribute values and computes the plane's placement and what the file's header says of its
// pictures; loading and drawing belong to its draw override.
class CineSheet : public MPxLocatorNode {
public:
    CineSheet();
    ~CineSheet() override;

    static void* creator();
    static MStatus initialize();

    void postConstructor() override;
    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    // A plane whose camera goes away (deleted, or its connection broken) stays where the camera
    // left it: see cameraLost.
    MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) override;
    MStatus connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc) override;
    SchedulingType schedulingType() const override;
    // Viewport filters that hide locators must not hide the picture.
    bool excludeAsLocator() const override;
    // Cached Playback: the node asks to be cached, with the inputs its drawing reads.
    void getCacheSetup(const MEvaluationNode& evalNode, MNodeCacheDisablingInfo& disablingInfo,
                       MNodeCacheSetupInfo& cacheSetupInfo,
                       MObjectArray& monitoredAttributes) const override;
    void configCache(const MEvaluationNode& evalNode, MCacheSchema& schema) const override;

    // What the plug-in learnt outside compute, handed to the node on the main thread as its
    // hidden inputs: the keyframe interval of the video at `file`, once a worker has looked
    // through it, and the workspace root relative paths are read from, once the project has
    // changed. Set as plugs, so that what they affect is computed again; Maya has no call that
    // marks a plug dirty. Not an edit of the artist's: the scene is left as modified as it was.
    void learnKeyframeInterval(const MString& file, int interval);
    void learnWorkspaceRoot(const MString& root);

    // The reloads asked for the node. Shared with the draw override, which may outlive a deleted
    // node for a moment.
    const std::shared_ptr<MediaFacts>& mediaFacts() const { return mediaFacts_; }
    // The facts of a CineSheet node; null for any other node.
    static std::shared_ptr<MediaFacts> mediaFactsOf(const MObject& node);

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
    static MObject aCamOrthographic;
    static MObject aCamOrthoWidth;
    // True once the camera's world matrix is no longer connected to a node that had one: the
    // camera inputs then keep the camera's last values and the plane its last placement.
    static MObject aCameraLost;
    // The render resolution, connected from "defaultResolution" by the creation command, and
    // after a scene saved without the connections is opened (see ResolutionInputs.h).
    static MObject aRenderWidth;
    static MObject aRenderHeight;
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
    static MObject aCacheDepth;
    static MObject aColorSpace;
    // The name of the colorSpace field chosen, kept with the scene.
    static MObject aColorSpaceName;
    static MObject aGammaCorrect;
    // How the picture is shown: its opacity, only through its own camera, with a readout of the
    // frame shown and of the cache.
    static MObject aAlphaGain;
    static MObject aDisplayOnlyIfCurrent;
    static MObject aDisplayInfo;
    // What a sequence shows at frames before its first file and after its last (its handles):
    // nothing, or, on, the nearest end file.
    static MObject aHoldEndFrames;
    // Read from the file: its picture shape from the header, its keyframe interval once the
    // draw override's worker has looked through it.
    static MObject aFrameRatio;
    static MObject aKeyframeInterval;
    // What the worker learnt of a video, and of which file: hidden, not saved.
    static MObject aFootageKeyframeInterval;
    static MObject aFootageKeyframeFile;
    // The workspace root relative paths are read from: hidden, not saved.
    static MObject aFootageRoot;
    // Where the clip's sound belongs on the timeline, connected into the audio node an import
    // makes: its offset (frameOffset plus the first frame shown) and its start in the sound file
    // (that first frame), in the scene's time unit.
    static MObject aSoundOffset;
    static MObject aSoundStart;

private:
    MStatus computePlacement(MDataBlock& data);
    MStatus computeFrameRatio(MDataBlock& data);
    MStatus computeKeyframeInterval(MDataBlock& data);
    MStatus computeSoundTiming(MDataBlock& data);
    static MString footagePathIn(MDataBlock& data);
    static double resolutionAspect(MDataBlock& data);

    std::shared_ptr<MediaFacts> mediaFacts_ = std::make_shared<MediaFacts>();
};
