#include "decode/ClipFacts.h"

#include "decode/Timecode.h"
#include "decode/VideoSource.h"

namespace video {

// Opened as the cache opens it, so the count is that of the pictures the plane shows: from the
// container's index where it lists them, else from one read through the file.
std::optional<ClipFacts> readClipFacts(const std::string& path) {
    VideoSource source;
    if (!source.open(path)) {
        return std::nullopt;
    }
    ClipFacts facts;
    facts.frameCount = source.frameCount();
    facts.frameRate = source.averageFrameRate();
    facts.startTimecode = decode::startTimecode(*source.input(), source.streamIndex());
    return facts;
}

}  // namespace video
