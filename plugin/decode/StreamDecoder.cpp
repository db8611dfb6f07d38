#include "decode/StreamDecoder.h"

#include "decode/DecoderThreads.h"

#include <cstdlib>

namespace video {

CodecContextPtr openStreamDecoder(const AVStream& stream) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec) {
        return nullptr;
    }
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream.codecpar) < 0) {
        return nullptr;
    }
    context->pkt_timebase = stream.time_base;
    // Whole pictures decoded side by side, and slices of one picture where the codec has them.
    // Pictures still come out in order, each with the time stamp of its own packet.
    context->thread_count = decoderThreadsForOpen();
    context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) {
        return nullptr;
    }
    return context;
}

}  // namespace video
