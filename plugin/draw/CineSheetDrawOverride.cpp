#include "draw/CineSheetDrawOverride.h"

#include "cache/CacheBudget.h"
#include "draw/QuadCorners.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MTextureManager.h>
#include <maya/MThreadAsync.h>

#include <chrono>
#include <mutex>
#include <thread>

std::atomic<bool> CineSheetDrawOverride::threadIsRunning{false};

namespace {

// Waits until the override's own worker has ended. The class-wide flag cannot tell this worker
// from the others, so the wait follows the worker's own flag; a worker asked to stop ends at its
// next block boundary, and until then it still uses the state this override is about to free.
void waitForOwnWorker(const ThreadData& threadData) {
    while (!threadData.finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void releaseTexture(MHWRender::MTexture* texture) {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer(false);
    MHWRender::MTextureManager* manager = renderer ? renderer->getTextureManager() : nullptr;
    if (manager) {
        manager->releaseTexture(texture);
    }
}

}  // namespace

MHWRender::MPxDrawOverride* CineSheetDrawOverride::creator(const MObject& obj) {
    return new CineSheetDrawOverride(obj);
}

CineSheetDrawOverride::CineSheetDrawOverride(const MObject& obj)
    : MHWRender::MPxDrawOverride(obj, nullptr, true),
      currentPath(" "),
      lastFrame(-1234567),
      gammaTable{},
      tableGamma(-1.0),
      threadData(nullptr),
      texture(nullptr),
      texturePixelCount(0) {
    video::CacheBudget::instance().enrol(&cache);
    if (!startBlockCachingThreaded()) {
        MGlobal::displayError(
            "Failed to start caching thread. Video frame caching is not available!");
    }
}

CineSheetDrawOverride::~CineSheetDrawOverride() {
    stopWorker();
    if (threadData) {
        waitForOwnWorker(*threadData);
        MThreadAsync::release();
    }
    video::CacheBudget::instance().leave(&cache);
    {
        const std::lock_guard<std::mutex> blockLock(cache.blockMutex);
        const std::lock_guard<std::mutex> storeLock(cache.storeMutex);
        clearAllBlockImages(cache.blocks);
        cache.frameBuffers.clear();
        cache.lastQueuedBlock = -1;
    }
    decoder.source.close();
    decoder.streamIndex = -1;
    // The host deletes the node's draw data before its override, so nothing refers to the last
    // texture any more.
    if (texture) {
        releaseTexture(texture);
        texture = nullptr;
    }
    delete threadData;
}

MHWRender::DrawAPI CineSheetDrawOverride::supportedDrawAPIs() const {
    return MHWRender::kAllDevices;
}

bool CineSheetDrawOverride::hasUIDrawables() const {
    return true;
}

CineSheetData* CineSheetDrawOverride::initUserData() {
    auto* data = new CineSheetData();
    setQuadCorners(data->positions, 1.0);
    data->texCoords.clear();
    data->texCoords.append(0.0, 0.0, 0.0, 1.0);
    data->texCoords.append(1.0, 0.0, 0.0, 1.0);
    data->texCoords.append(1.0, 1.0, 0.0, 1.0);
    data->texCoords.append(0.0, 0.0, 0.0, 1.0);
    data->texCoords.append(1.0, 1.0, 0.0, 1.0);
    data->texCoords.append(0.0, 1.0, 0.0, 1.0);
    return data;
}

bool CineSheetDrawOverride::getLocatorAttrData(const MObject& node, const MStringArray& names,
                                               MPlugArray& plugs) {
    const MFnDependencyNode nodeFn(node);
    plugs.clear();
    for (unsigned int i = 0; i < names.length(); ++i) {
        MStatus status;
        const MObject attribute = nodeFn.attribute(names[i], &status);
        if (!status) {
            return false;
        }
        plugs.append(MPlug(node, attribute));
    }
    return true;
}
