#pragma once

#include "cache/SequenceCache.h"
#include "cache/VideoCache.h"
#include "draw/CineSheetData.h"
#include "draw/LoadedMedium.h"
#include "draw/WorkspacePath.h"

#include <maya/MDagPath.h>
#include <maya/MFrameContext.h>
#include <maya/MObject.h>
#include <maya/MPlugArray.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUserData.h>

#include <optional>
#include <vector>

// Viewport 2.0 draw override of one CineSheet node. It owns everything loaded for the node: the
// video cache (the open video, its frames and its worker), the sequence cache (the frames of a
// sequence and its readers), the gamma table and the texture.
class CineSheetDrawOverride : public MHWRender::MPxDrawOverride {
public:
    static MHWRender::MPxDrawOverride* creator(const MObject& obj);

    explicit CineSheetDrawOverride(const MObject& obj);
    ~CineSheetDrawOverride() override;

    MHWRender::DrawAPI supportedDrawAPIs() const override;
    bool hasUIDrawables() const override;
    MUserData* prepareForDraw(const MDagPath& objPath, const MDagPath& cameraPath,
                              const MHWRender::MFrameContext& frameContext,
                              MUserData* oldData) override;
    void addUIDrawables(const MDagPath& objPath, MHWRender::MUIDrawManager& drawManager,
                        const MHWRender::MFrameContext& frameContext,
                        const MUserData* data) override;

    static CineSheetData* initUserData();
    static bool getLocatorAttrData(const MObject& node, const MStringArray& names,
                                   MPlugArray& plugs);

    // Texture management and drawing.
    bool createTexture(CineSheetData* data);
    bool updateTexture(CineSheetData* data, const void* pixels);
    void clearTexture(CineSheetData* data);
    void defaultImage(CineSheetData* data);
    // The texture's size follows the divisor: a change makes it again at the next refresh.
    void setResolutionDivisor(int divisor);

    // Image sequences.
    static void formatFilePath(MString& path, int frame);
    void processImage(MString& path, int frame, int cacheFrames, float gamma, CineSheetData* data);

    // Frame request and wait. processVideo returns false when the frame should have been shown
    // and was not (it did not come in time, or its upload failed), so that it is asked for again.
    bool processVideo(MString& path, int frame, int cacheFrames, double sceneFrameRate, float gamma,
                      CineSheetData* data);
    // Closes the video and forgets its frames.
    void clearAllData(CineSheetData* data);

    MString currentPath;
    WorkspacePath workspacePath;
    video::SequenceCache sequences;
    int lastFrame;
    VideoCache videoCache;
    // The picture the texture is made for, at 1/resolutionDivisor of its size; the texture is
    // made again at the next refresh when textureRebuild is set.
    LoadedMedium medium;
    // Set when a video is asked for, until the medium is taken from it once it is open.
    bool mediumPending;
    int resolutionDivisor;
    bool textureRebuild;
    MStringArray inputSpaceNames;
    unsigned char gammaTable[256];
    double tableGamma;
    MHWRender::MTexture* texture;
    // The gamma-corrected copy of the frame being uploaded, reused from upload to upload so that
    // the drawing thread does not allocate a frame each time.
    std::vector<unsigned char> correctionBuffer;

    // What a refresh asks for, as frame preparation sees it: equal requests show the same
    // picture. Kept for the last request whose picture is on screen (or that has none to show).
    struct ShownRequest {
        MString path;
        int frame = 0;
        double sceneFrameRate = 0.0;
        short cacheResolution = 0;
        bool operator==(const ShownRequest& other) const;
    };
    std::optional<ShownRequest> shownRequest;

private:
    void buildGammaTable(float gamma);
    // Sizes correctionBuffer to one frame; false when there is no memory for it.
    bool reserveCorrectionBuffer(size_t bytes);
};
