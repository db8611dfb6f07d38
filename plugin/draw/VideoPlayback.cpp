#include "cache/RefreshDeadline.h"
#include "draw/CineSheetDrawOverride.h"

#include <maya/MGlobal.h>

#include <algorithm>
#include <climits>

namespace {

// Frame number of the video at the scene frame, when the node plays the video at its own rate.
int videoFrameAt(int sceneFrame, double videoFrameRate, double sceneFrameRate) {
    const double frame = videoFrameRate / sceneFrameRate * sceneFrame;
    return static_cast<int>(
        std::clamp(frame, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

LoadedMedium mediumOf(const VideoCache& video) {
    const MIntArray starts = video.blockStarts();
    return LoadedMedium{video.frameWidth(), video.frameHeight(), video.pixelAspect(),
                        starts.length() >= 2 ? starts[1] - starts[0] : 0};
}

}  // namespace

bool CineSheetDrawOverride::processVideo(MString& path, int frame, int cacheFrames,
                                         double sceneFrameRate, float gamma, CineSheetData* data) {
    if (!(static_cast<double>(gamma) == tableGamma)) {
        buildGammaTable(gamma);
    }
    const video::RefreshWait wait(this);
    const VideoCache::Deadline deadline = wait.deadline();
    // A path found missing is recorded without being opened; once the file is there, it is.
    if (path != currentPath || videoCache.openState() == VideoCache::OpenState::kClosed) {
        clearAllData(data);
        videoCache.open(path);
        if (!videoCache.workerStarted()) {
            MGlobal::displayError(
                "Failed to start caching thread. Video frame caching is not available!");
        }
        currentPath = path;
        mediumPending = true;
    }
    switch (videoCache.awaitOpen(deadline)) {
        case VideoCache::OpenState::kOpening:
            // The file is still being read: the picture of the former one is not shown
            // meanwhile, and the worker asks for a refresh once it is open.
            if (data->texture) {
                defaultImage(data);
            }
            return false;
        case VideoCache::OpenState::kClosed:
        case VideoCache::OpenState::kFailed:
            medium = mediumOf(videoCache);
            createTexture(data);
            defaultImage(data);
            // Nothing is loaded now, and asking again for the same path, or for the former one,
            // opens it anew.
            currentPath = " ";
            return true;
        case VideoCache::OpenState::kOpen:
            break;
    }
    if (mediumPending || textureRebuild) {
        medium = mediumOf(videoCache);
        mediumPending = false;
        createTexture(data);
    }
    if (sceneFrameRate > 0.0 && videoCache.videoFrameRate() > 0.0) {
        frame = videoFrameAt(frame, videoCache.videoFrameRate(), sceneFrameRate);
    }
    CachingJob job;
    if (!videoCache.addBlockCachingJob(frame, cacheFrames, job)) {
        // Outside the clip there is no picture: the blank one is the right one.
        defaultImage(data);
        return true;
    }
    lastFrame = frame;
    return videoCache.awaitFrame(
        job, [this, data](const unsigned char* pixels) { return updateTexture(data, pixels); },
        deadline);
}

void CineSheetDrawOverride::clearAllData(CineSheetData*) {
    videoCache.close();
    // The plane keeps its shape until something else is loaded; only the blocks are gone.
    medium.keyframeInterval = 0;
}
