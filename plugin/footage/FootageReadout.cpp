#include "decode/Timecode.h"
#include "footage/Footage.h"

video::CachedFrames Footage::cachedFrames() const {
    if (std::holds_alternative<Video>(loaded_)) {
        return video_.cachedFrames();
    }
    if (std::holds_alternative<Sequence>(loaded_)) {
        return sequence_.cachedFrames();
    }
    return {};
}

std::string Footage::timecodeOf(int mediaFrame) const {
    if (!std::holds_alternative<Video>(loaded_)) {
        return {};
    }
    return decode::timecodeAt(video_.startTimecode(), video_.videoFrameRate(), mediaFrame);
}
