#pragma once

#include "picture/FfmpegPointers.h"

#include <cstddef>
#include <mutex>
#include <vector>

namespace decode {

// Still-image decoders kept open from one file of a sequence to the next, as the ffmpeg tool
// decodes a whole sequence with one decoder: a decoder opened for every file makes its picture
// buffers afresh, zero-filled, for every file. A decoder is handed out again only for a stream of
// the very parameters it was opened for, flushed. Each kept decoder holds about two pictures.
// Safe to call from any thread; each decoder is used by one thread at a time.
class StillDecoders {
public:
    // Keeps at most `most` decoders (one for each thread that reads at the same time).
    explicit StillDecoders(size_t most) : most_(most) {}

    // A kept decoder opened for `parameters`, flushed; null when there is none.
    video::CodecContextPtr take(const AVCodecParameters& parameters);
    // Keeps the decoder, opened for `parameters`, for the next file; the one kept longest is
    // closed when there are more than the most.
    void keep(video::CodecContextPtr decoder, const AVCodecParameters& parameters);
    // Closes every kept decoder.
    void clear();
    // What the kept decoders hold: two pictures each, of the size and format last decoded.
    size_t bytes() const;

private:
    struct Kept {
        video::CodecContextPtr decoder;
        video::CodecParametersPtr parameters;
    };
    mutable std::mutex mutex_;
    std::vector<Kept> kept_;
    size_t most_;
};

}  // namespace decode
