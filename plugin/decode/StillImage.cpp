#include "decode/StillImage.h"

#include "decode/LocalMediaInput.h"

#include <cstring>

namespace decode {
namespace {

using video::CodecContextPtr;
using video::FramePtr;
using video::PacketPtr;
using video::PacketUnref;

bool isStillImageDemuxer(const char* name) {
    const std::size_t length = std::strlen(name);
    const char suffix[] = "_pipe";
    const std::size_t suffixLength = sizeof(suffix) - 1;
    if (length > suffixLength && std::strcmp(name + length - suffixLength, suffix) == 0) {
        return true;
    }
    return std::strcmp(name, "image2") == 0;
}

// Every still-image demuxer of the FFmpeg build: the single-picture "_pipe" ones, which know a
// format by its content, and image2, which knows it by the file's extension.
const std::string& stillImageDemuxers() {
    static const std::string names = [] {
        std::string list;
        void* iterator = nullptr;
        while (const AVInputFormat* format = av_demuxer_iterate(&iterator)) {
            if (isStillImageDemuxer(format->name)) {
                list += (list.empty() ? "" : ",") + std::string(format->name);
            }
        }
        return list;
    }();
    return names;
}

video::LocalMediaPtr openStillImage(video::FileDescriptor file, const std::string& path) {
    AVDictionary* options = nullptr;
    // image2 would read '%' in a path as a frame-number pattern and open other files by it.
    av_dict_set(&options, "pattern_type", "none", 0);
    video::LocalMediaPtr input =
        video::openLocalFile(std::move(file), path, stillImageDemuxers(), &options);
    av_dict_free(&options);
    return input;
}

CodecContextPtr openDecoder(const AVCodec& codec, const AVCodecParameters& parameters) {
    CodecContextPtr decoder(avcodec_alloc_context3(&codec));
    if (!decoder) {
        return nullptr;
    }
    // A file that is no image, or a damaged one, is an ordinary answer here, not worth a line in
    // the host's output.
    decoder->log_level_offset = AV_LOG_VERBOSE - AV_LOG_ERROR;
    if (avcodec_parameters_to_context(decoder.get(), &parameters) < 0 ||
        avcodec_open2(decoder.get(), &codec, nullptr) < 0) {
        return nullptr;
    }
    return decoder;
}

// Feeds the stream's packets until the decoder gives its first picture.
FramePtr decodeFirstPicture(AVFormatContext& input, AVCodecContext& decoder, int streamIndex) {
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) {
        return nullptr;
    }
    bool draining = false;
    while (true) {
        const int received = avcodec_receive_frame(&decoder, frame.get());
        if (received == 0) {
            return frame;
        }
        if (received != AVERROR(EAGAIN) || draining) {
            return nullptr;
        }
        if (av_read_frame(&input, packet.get()) < 0) {
            draining = true;
            avcodec_send_packet(&decoder, nullptr);
            continue;
        }
        const PacketUnref unref(packet.get());
        if (packet->stream_index == streamIndex) {
            const int sent = avcodec_send_packet(&decoder, packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN)) {
                return nullptr;
            }
        }
    }
}

}  // namespace

FramePtr decodeStillImage(const std::string& path) {
    return decodeStillImage(video::openLocalRegularFile(path), path);
}

FramePtr decodeStillImage(video::FileDescriptor file, const std::string& path,
                          StillDecoders* decoders) {
    const video::LocalMediaPtr input = openStillImage(std::move(file), path);
    if (!input) {
        return nullptr;
    }
    const AVCodec* codec = nullptr;
    const int streamIndex = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (streamIndex < 0 || codec == nullptr) {
        return nullptr;
    }
    const AVCodecParameters& parameters = *input->streams[streamIndex]->codecpar;
    CodecContextPtr decoder = decoders ? decoders->take(parameters) : nullptr;
    if (!decoder) {
        decoder = openDecoder(*codec, parameters);
    }
    if (!decoder) {
        return nullptr;
    }
    FramePtr picture = decodeFirstPicture(*input, *decoder, streamIndex);
    if (!picture || picture->width <= 0 || picture->height <= 0 || picture->format < 0) {
        return nullptr;
    }
    if (decoders) {
        decoders->keep(std::move(decoder), parameters);
    }
    return picture;
}

}  // namespace decode
