#pragma once

#include "decode/VideoSource.h"
#include "picture/CacheImageWriter.h"

#include <functional>
#include <memory>

namespace video {

// Decodes runs of consecutive blocks of an open video: one seek to the first block's keyframe,
// then forward decoding, without a seek or a flush between the blocks, until every wanted frame
// of the run is out. Each decoded picture is placed by the frame number it carries, so pictures
// of other blocks (leading pictures of open GOPs, pictures before the keyframe) are dropped and
// each slot is filled at most once. Keeps its converters for as long as the file is open.
class BlockDecoder {
public:
    // slot: frame number − the block's first frame number. The picture is only valid during the
    // call.
    using PictureSink = std::function<void(int block, int slot, const CachePicture& picture)>;
    // Asked before each decoded picture is looked at, with the block of the run it belongs to
    // (−1 for a picture outside the run); true ends the run there.
    using StopCheck = std::function<bool(int block)>;
    // Whether a slot of a block is to be handed over.
    using WantedSlot = std::function<bool(int block, int slot)>;

    explicit BlockDecoder(const VideoSource& source);
    // Decodes the source's blocks through another demuxer and decoder of the same file and
    // stream, which the caller keeps open as long as this.
    BlockDecoder(const VideoSource& source, AVFormatContext* input, AVCodecContext* decoder);

    // Decodes blocks `firstBlock` to `lastBlock`. Only the wanted slots (all when `wanted` is
    // empty) are handed to the sink; the others are decoded only as far as the wanted ones need.
    // Returns how many pictures were handed over; 0 for blocks out of range, a first block that
    // cannot be reached, or a decoder that gives nothing.
    int decodeBlocks(int firstBlock, int lastBlock, const PictureSink& sink,
                     const StopCheck& stopRequested = {}, const WantedSlot& wanted = {});

    // The first frame the last run wanted and could not get because the file ended before it
    // (its end, or a read error, came before the run's last packet, or the run reached the
    // last listed packet of a file cut short); −1 when it did not.
    int endedEarlyAt() const { return endedEarlyAt_; }

    // Lets go of the converters, for when the file is closed.
    void reset();

private:
    CacheImageWriter& writer();

    const VideoSource& source_;
    AVFormatContext* const input_ = nullptr;
    AVCodecContext* const decoder_ = nullptr;
    std::unique_ptr<CacheImageWriter> writer_;
    int endedEarlyAt_ = -1;
};

}  // namespace video
