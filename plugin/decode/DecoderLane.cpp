#include "decode/DecoderLane.h"

namespace video {

bool decodesBlocksApart(const VideoSource& source) {
    if (!source.isOpen() || !source.listedFromIndex() || source.blockCount() < 2) {
        return false;
    }
    const AVCodecDescriptor* codec = avcodec_descriptor_get(source.decoder()->codec_id);
    return codec && (codec->props & AV_CODEC_PROP_INTRA_ONLY) != 0;
}

std::unique_ptr<DecoderLane> DecoderLane::open(const std::string& path, const VideoSource& source) {
    if (!source.isOpen()) {
        return nullptr;
    }
    LocalMediaPtr input = openLocalMedia(path);
    const int stream = source.streamIndex();
    if (!input || stream >= static_cast<int>(input->nb_streams)) {
        return nullptr;
    }
    const AVStream& own = *source.input()->streams[stream];
    const AVCodec* codec = avcodec_find_decoder(own.codecpar->codec_id);
    if (!codec || input->streams[stream]->codecpar->codec_id != own.codecpar->codec_id) {
        return nullptr;
    }
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), own.codecpar) < 0) {
        return nullptr;
    }
    decoder->pkt_timebase = own.time_base;
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        return nullptr;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (static_cast<int>(i) != stream) {
            input->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    return std::unique_ptr<DecoderLane>(
        new DecoderLane(std::move(input), std::move(decoder), source));
}

DecoderLane::DecoderLane(LocalMediaPtr input, CodecContextPtr decoder, const VideoSource& source)
    : input_(std::move(input)),
      decoder_(std::move(decoder)),
      blocks_(source, input_.get(), decoder_.get()) {}

}  // namespace video
