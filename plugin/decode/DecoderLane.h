#pragma once

#include "decode/BlockDecoder.h"
#include "decode/LocalMediaInput.h"
#include "decode/VideoSource.h"
#include "picture/FfmpegPointers.h"

#include <memory>
#include <string>

namespace video {

// Whether the blocks of the open source are best decoded several at once, each by a decoder of
// its own: the codec is intra-only (MJPEG, ProRes, DNxHD, PNG…), so its blocks are mostly one
// frame long and no frame is decoded twice, and the packets come from the container's index, so
// another demuxer of the file finds them at the same places.
bool decodesBlocksApart(const VideoSource& source);

// A second demuxer and decoder of an open source's file and video stream, with the source's
// packet list and blocks, to decode blocks beside the source's own decoder. Single-threaded: the
// lanes are the parallelism. The source must stay open as long as the lane.
class DecoderLane {
public:
    // Null when the file cannot be opened again or its stream decoded.
    static std::unique_ptr<DecoderLane> open(const std::string& path, const VideoSource& source);

    DecoderLane(const DecoderLane&) = delete;
    DecoderLane& operator=(const DecoderLane&) = delete;

    BlockDecoder& blocks() { return blocks_; }
    const AVCodecContext* decoder() const { return decoder_.get(); }

private:
    DecoderLane(LocalMediaPtr input, CodecContextPtr decoder, const VideoSource& source);

    LocalMediaPtr input_;
    CodecContextPtr decoder_;
    BlockDecoder blocks_;
};

}  // namespace video
