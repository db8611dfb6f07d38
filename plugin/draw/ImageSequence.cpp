#include "cache/RefreshDeadline.h"
#include "cache/SequencePattern.h"
#include "draw/CineSheetDrawOverride.h"

void CineSheetDrawOverride::formatFilePath(MString& path, int frame) {
    if (path.index('#') < 0) {
        return;
    }
    path = video::SequencePattern(path.asChar()).fileOf(frame).c_str();
}

void CineSheetDrawOverride::processImage(MString& path, int frame, int cacheFrames, float gamma,
                                         CineSheetData* data) {
    const bool sameContent = path == currentPath && frame == lastFrame;
    const bool sameGamma = static_cast<double>(gamma) == tableGamma;
    if (sameContent && sameGamma) {
        return;
    }
    if (!sameGamma) {
        buildGammaTable(gamma);
    }
    const bool newMedium = path != currentPath;
    if (newMedium) {
        // Whatever was shown before, a video or nothing, is let go first.
        clearAllData(data);
    }
    sequences.open(path.asChar());
    sequences.setWindow(cacheFrames);

    // Runs while the frame is held: a new texture only for a new medium or size, else an upload.
    auto showFrame = [&](video::SequenceFrame image) {
        if (newMedium || !data->texture || textureRebuild || image.width != medium.frameWidth ||
            image.height != medium.frameHeight) {
            // Every image is a block of one frame.
            medium = LoadedMedium{image.width, image.height, AVRational{1, 1}, 1};
            if (!createTexture(data)) {
                return false;
            }
        }
        return updateTexture(data, image.pixels);
    };
    // A gamma change at the frame shown uploads the frame held as it was read.
    const video::RefreshWait wait(this);
    switch (sequences.show(frame, !sameContent, showFrame, wait.deadline())) {
        case video::SequenceAnswer::kShown:
            break;
        case video::SequenceAnswer::kNotShown:
            defaultImage(data);
            break;
        case video::SequenceAnswer::kUnreadable:
            // The empty placeholder; nothing counts as loaded, so the frame is read again at the
            // next refresh, and going back to the former one shows it again.
            medium = LoadedMedium{};
            createTexture(data);
            defaultImage(data);
            currentPath = " ";
            return;
        case video::SequenceAnswer::kNotInTime:
            // Asked for again at the next refresh.
            return;
    }
    currentPath = path;
    lastFrame = frame;
}
