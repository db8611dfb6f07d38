#include "decode/Timecode.h"
#include "footage/Footage.h"

video::CachedFrames Footage::cachedFrames() const {
    return loaded_ ? loaded_->cachedFrames() : video::CachedFrames{};
}

std::string Footage::timecodeOf(int mediaFrame) const {
    if (loaded_ != &video_) {
        return {};
    }
    return decode::timecodeAt(video_.startTimecode(), video_.videoFrameRate(), mediaFrame);
}
