#include "draw/CineSheetDrawOverride.h"

bool CineSheetDrawOverride::openVideoFile(const MString& path) {
    if (!decoder.source.open(path.asChar())) {
        decoder.streamIndex = -1;
        decoder.frameWidth = 0;
        decoder.frameHeight = 0;
        decoder.pixelAspect = AVRational{1, 1};
        decoder.videoFrameRate = 0.0;
        cache.blockStarts.clear();
        cache.blockStarts.append(0);
        cache.blockStarts.append(0);
        return false;
    }
    decoder.streamIndex = decoder.source.streamIndex();
    // The cache holds the pictures turned upright.
    decoder.frameWidth = decoder.source.uprightWidth();
    decoder.frameHeight = decoder.source.uprightHeight();
    decoder.pixelAspect = decoder.source.uprightPixelAspect();
    decoder.videoFrameRate = decoder.source.averageFrameRate();
    analyzeGOPs();
    return true;
}

void CineSheetDrawOverride::analyzeGOPs() {
    // The source scanned the stream's keyframes when it opened the file.
    cache.blockStarts.clear();
    for (int start : decoder.source.blockStarts()) {
        cache.blockStarts.append(start);
    }
    // A stream without keyframes has no block; giving it one empty block at its end keeps every
    // reader of the first block's length in range while no frame lies in any block.
    if (cache.blockStarts.length() == 1) {
        cache.blockStarts.append(cache.blockStarts[0]);
    }
}
