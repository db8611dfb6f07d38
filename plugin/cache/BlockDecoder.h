#pragma once

#include "cache/RgbConverter.h"
#include "cache/RgbPicture.h"
#include "cache/VideoSource.h"

#include <functional>
#include <memory>
#include <vector>

namespace video {

// Decodes one block of an open video at a time: one seek to the block's keyframe, then forward
// decoding until every frame of the block is out. Each decoded picture is placed by the frame
// number it carries, so pictures of other blocks (leading pictures of open GOPs, pictures before
// the keyframe) are dropped and each slot is filled at most once.
class BlockDecoder {
public:
    // slot: frame number − the block's first frame number. The picture is RGB24 at full size,
    // with the turn that still shows it upright, and only valid during the call.
    using PictureSink = std::function<void(int slot, const RgbPicture& picture)>;
    // Asked before each decoded picture is looked at; true ends the block there.
    using StopCheck = std::function<bool()>;

    explicit BlockDecoder(const VideoSource& source);

    // Only the slots marked in `wanted` (all when it is empty) are converted and handed over;
    // the others are decoded only as far as the wanted ones need. Returns how many frames were
    // handed to the sink; 0 for a block index out of range, a block that cannot be reached, or a
    // decoder that gives nothing.
    int decodeBlock(int block, const PictureSink& sink, const StopCheck& stopRequested = {},
                    const std::vector<bool>& wanted = {});

private:
    bool toRgb(const AVFrame& frame, RgbPicture& picture);

    const VideoSource& source_;
    // Made on first use: pictures converted as stored, and pictures turned before conversion.
    std::unique_ptr<RgbConverter> storedConverter_;
    std::unique_ptr<RgbConverter> uprightConverter_;
    FramePtr upright_;
};

}  // namespace video
