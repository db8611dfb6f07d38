#pragma once

#include "cache/FrameCache.h"
#include "draw/CineSheetData.h"
#include "draw/WorkspacePath.h"

#include <maya/MDagPath.h>
#include <maya/MFrameContext.h>
#include <maya/MImage.h>
#include <maya/MObject.h>
#include <maya/MPlugArray.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUserData.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

// Viewport 2.0 draw override of one CineSheet node. It owns everything loaded for the node: the
// open video with its frame cache and caching worker, the image of a sequence, the gamma table
// and the texture.
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
    bool updateTexture(CineSheetData* data, void* pixels);
    void clearTexture(CineSheetData* data);
    void defaultImage(CineSheetData* data);
    bool writeImage(CineSheetData* data);

    // Image sequences.
    static void formatFilePath(MString& path, int frame);
    bool openImageFile(const MString& path);
    void processImage(MString& path, int frame, float gamma, CineSheetData* data);

    // Video opening.
    bool openVideoFile(const MString& path);
    void analyzeGOPs();

    // The caching worker.
    bool startBlockCachingThreaded();
    static void* blockCachingWorker(void* data);
    static void blockCachingFinished(void* data);
    // Asks the worker to end, waking it and any frame wait.
    void stopWorker();
    bool addBlockCachingJob(int frame, int windowFrames, CachingJob& job);
    static bool setActiveBlocks(ThreadData* data, CachingJob& job);
    static void clearInactiveBlockImages(ThreadData* data);
    static void clearAllBlockImages(std::map<int, std::vector<unsigned char*>>& blocks);
    // Decodes the blocks firstBlock to lastBlock in one pass into the store.
    static void decodeBlocks(ThreadData* data, int firstBlock, int lastBlock);
    // Puts a finished cache image of `bytes` bytes into a slot; null records the frame as failed
    // (no memory for it). The caller holds storeMutex.
    static bool storeFrameInCache(ThreadData* data, int block, int index, unsigned char* image,
                                  size_t bytes);

    // Frame request and wait. processVideo returns false when the frame should have been shown
    // and was not (it did not come in time, or its upload failed), so that it is asked for again.
    bool processVideo(MString& path, int frame, int cacheFrames, double sceneFrameRate, float gamma,
                      CineSheetData* data);
    bool awaitFrame(CineSheetData* data, CachingJob& job);
    void clearAllData(CineSheetData* data);

    // True while any caching worker of any draw override runs.
    static std::atomic<bool> threadIsRunning;

    MString currentPath;
    WorkspacePath workspacePath;
    MImage image;
    int lastFrame;
    DecoderState decoder;
    MStringArray inputSpaceNames;
    unsigned char gammaTable[256];
    double tableGamma;
    FrameCache cache;
    ThreadData* threadData;
    MHWRender::MTexture* texture;
    int texturePixelCount;
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
    // Takes decoderMutex for the drawing thread, first asking a running pass to stop.
    std::unique_lock<std::mutex> lockDecoder();
    bool workerRunning() const;
    // Queues the job unless another is waiting; true when queued.
    bool queueIfIdle(const CachingJob& job);
};
