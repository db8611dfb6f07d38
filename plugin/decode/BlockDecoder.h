#pragma once

#include "decode/PacketRangeDecoder.h"
#include "decode/VideoSource.h"
#include "picture/CacheImageWriter.h"

#include <atomic>
#include <functional>
#include <memory>

namespace video {

// Decodes runs of consecutive blocks of an open video: one seek to the first block's keyframe,
// then forward decoding, without a seek or a flush between the blocks, until every wanted frame
// of the run is out. Each decoded picture is placed by the frame number it carries, so pictures
// of other blocks (leading pictures of open GOPs, pictures before the keyframe) are dropped and
// each slot is filled at most once. Keeps its converters for as long as the file is open.
//
// A run that ends once its wanted frames are out leaves the decoder as it stands. The next run
// whose wanted frames all come after the last frame the decoder gave, and whose packets follow
// on from where it stands, carries on from there without a seek: stepping one frame at a time
// costs one frame each. Anything else seeks, as does a carried-on run that misses a wanted frame.
class BlockDecoder {
public:
    // slot: frame number − the block's first frame number. The picture is only valid during the
    // call.
    using PictureSink = std::function<void(int block, int slot, const CachePicture& picture)>;
    // Asked before each decoded picture is looked at, with the block of the run it belongs to
    // (−1 for a picture outside the run); true ends the run there, the picture kept for a run
    // carried on.
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

    // The seeks made and the packets sent to the decoder so far, readable from any thread.
    long seeks() const { return seeks_.load(); }
    long packetsSent() const { return packetsSent_.load(); }

    // Large pictures are converted in bands shared with those threads that are idle at the time
    // (see CacheImageWriter::shareWith).
    void shareConversionsWith(SpareThreads* threads);
    // How many pictures were converted in bands since the converters were last let go of.
    long picturesInBands() const { return writer_ ? writer_->writesInBands() : 0; }

    // Lets go of the converters and of where the decoder stands, for when the file or its
    // decoder is closed.
    void reset();

private:
    CacheImageWriter& writer();
    AVFormatContext* input() const { return input_ ? input_ : source_.input(); }
    AVCodecContext* decoder() const { return decoder_ ? decoder_ : source_.decoder(); }
    // Whether the run whose first wanted frame is `firstWanted`, in block `wantedBlock`, carries
    // on from where the decoder stands.
    bool carriesOn(int firstWanted, int wantedBlock) const;
    // A new feed sought to the first block's keyframe; false when it cannot be reached.
    bool seekTo(int firstBlock);
    // The packets the decoder holds back before it gives the frame of the last one sent.
    int decoderDelay() const;

    const VideoSource& source_;
    AVFormatContext* const input_ = nullptr;
    AVCodecContext* const decoder_ = nullptr;
    std::unique_ptr<CacheImageWriter> writer_;
    SpareThreads* spareThreads_ = nullptr;
    int endedEarlyAt_ = -1;

    // Where the decoder stands: the feed, what it decodes, and the highest frame number it gave
    // since its seek (frames from the sought block's first on are exact).
    std::unique_ptr<PacketFeed> feed_;
    const AVFormatContext* feedInput_ = nullptr;
    const AVCodecContext* feedDecoder_ = nullptr;
    long feedGeneration_ = -1;
    int lastOut_ = -1;

    std::atomic<long> seeks_{0};
    std::atomic<long> packetsSent_{0};
};

}  // namespace video
