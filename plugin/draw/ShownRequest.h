#pragma once

#include <maya/MString.h>

// What a refresh asks a draw data to show: equal requests show the same picture. The scene frame
// and its rate are compared, not the video frame they lead to, which is known only once the
// file is open.
struct ShownRequest {
    MString path;
    int frame = 0;
    double sceneFrameRate = 0.0;
    short cacheResolution = 0;
    short cacheDepth = 0;
    bool holdEndFrames = false;

    bool operator==(const ShownRequest& other) const {
        return path == other.path && frame == other.frame &&
               sceneFrameRate == other.sceneFrameRate && cacheResolution == other.cacheResolution &&
               cacheDepth == other.cacheDepth && holdEndFrames == other.holdEndFrames;
    }
};
