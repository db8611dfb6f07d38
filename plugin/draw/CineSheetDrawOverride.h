#pragma once

#include "draw/CineSheetData.h"
#include "draw/GammaTable.h"
#include "draw/RefreshNotice.h"
#include "footage/Footage.h"
#include "node/MayaFootageHost.h"
#include "node/MediaFacts.h"
#include "node/WorkspacePath.h"

#include <maya/MDagPath.h>
#include <maya/MFrameContext.h>
#include <maya/MObject.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUserData.h>

#include <memory>

// Viewport 2.0 draw override of one CineSheet node: reads the node, asks the node's footage for
// the picture and uploads it into the texture of the instance being drawn. Every drawn instance
// has draw data of its own, which owns its texture; the footage, and so every frame decoded, is
// shared by them all. Nothing is written to the node.
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

    // The node's footage, shared by its instances.
    const Footage& footage() const { return footage_; }

private:
    // Brings the data's texture to the picture: a new texture only for another shape or
    // divisor, else an upload through the gamma table.
    bool upload(CineSheetData& data, const unsigned char* pixels, const LoadedMedium& medium,
                int divisor);
    // Shows a blank picture of the medium's shape.
    void showBlank(CineSheetData& data, const LoadedMedium& medium, int divisor);
    // Shows the placeholder card in the medium's shape, or the last one shown.
    void showCard(CineSheetData& data, const LoadedMedium& medium);
    // Warns once about what keeps the footage or its texture from showing, and forgets causes
    // that went away.
    void warnAbout(const MObject& node, const MString& file, const FootageResult& result);
    // The name of the space the texture is drawn from: the field's, or the one the file rules
    // give the file; empty (shown as stored, with a warning) for one the configuration lacks.
    MString colorSpaceName(const MObject& node, short colorSpace, const MString& file);
    // Hands a video's keyframe interval, once known, to the node through the main thread's idle
    // queue: the draw itself writes nothing into the node.
    void reportKeyframeInterval(const MDagPath& objPath, const MString& path);
    // Hands the project root to the node in the same way when the one the footage was read from
    // is not the node's: the project changed since, and the node's header read follows it.
    void reportWorkspaceRoot(const MDagPath& objPath, const MString& nodeRoot);

    // What went wrong with the texture during this refresh: asked for again at the next one.
    enum class TextureTrouble { kNone, kRefused, kUploadFailed };
    TextureTrouble textureTrouble_ = TextureTrouble::kNone;

    // Tells the drawing when each refresh begins, while any override lives.
    RefreshNotice refreshNotice_;
    Footage footage_{mayaFootageHost()};
    // Where the node's relative paths are read from.
    WorkspacePath workspace_;
    GammaTable gamma_;
    // The file rules' space of a file, under a configuration.
    MString rulesFile_;
    unsigned rulesGeneration_ = 0;
    MString rulesSpace_;
    std::shared_ptr<MediaFacts> mediaFacts_;
    // The node's reload requests carried out.
    unsigned footageReloads_ = 0;
    MString reportedPath_;
    int reportedInterval_ = 0;
    MString reportedRoot_;
};
