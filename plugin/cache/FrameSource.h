#pragma once

#include "cache/CachedFrame.h"
#include "cache/CachedFrames.h"
#include "decode/CacheDepth.h"
#include "picture/RgbaImage.h"

#include <string>

namespace video {

// A frame a cache holds, kept whole by its reference even when the cache lets go of it, and the
// shape of its picture: RGBA in `format`, rows packed, top row first.
struct HeldFrame {
    int frame = -1;  // −1 when none is held
    FrameRef pixels;
    int width = 0;
    int height = 0;
    decode::TexelFormat format = decode::TexelFormat::kRgba8;
};

// The cache of one file's frames as the footage holds it, a video's or an image sequence's alike:
// what it reads, how deep it keeps frames, and what it holds. How a frame is asked for stays with
// each cache: a video's comes with the block around it once the file is open, a sequence's is a
// file of its own. Calls come from the drawing thread.
class FrameSource {
public:
    virtual ~FrameSource() = default;

    // Reads the file (a sequence's pattern) from now on; what was held of another is dropped.
    virtual void open(const std::string& path) = 0;
    // Drops the file and every frame held.
    virtual void close() = 0;
    // How deep frames are kept; frames held at another depth are read again.
    virtual void setDepth(decode::CacheDepth depth) = 0;
    // The held frame nearest to `frame` (the earlier of two as near), asking for nothing: what a
    // refresh that does not wait shows while the frame asked for comes, taken before asking for
    // it, as the cache then lets go of what lies outside the new window.
    virtual HeldFrame nearestHeld(int frame) const = 0;
    // Which frames are held now.
    virtual CachedFrames cachedFrames() const = 0;
};

}  // namespace video
