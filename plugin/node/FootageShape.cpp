#include "node/FootageShape.h"

#include "footage/MediaKind.h"
#include "sequence/SequencePattern.h"

std::optional<FrameShape> readFootageShape(const MString& path) {
    if (path.length() == 0) {
        return std::nullopt;
    }
    if (isVideoPath(path.asChar())) {
        return readVideoShape(path.asChar());
    }
    const video::SequencePattern pattern(path.asChar());
    if (!pattern.numbered()) {
        return readImageShape(pattern.text());
    }
    const std::optional<video::FrameWindow> onDisk = pattern.framesOnDisk();
    if (!onDisk) {
        return std::nullopt;
    }
    return readImageShape(pattern.fileOf(onDisk->first));
}
