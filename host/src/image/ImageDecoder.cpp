#include "image/ImageDecoder.h"

#include "image/FfmpegHandles.h"
#include "image/LocalFileInput.h"

#include <cstring>

namespace host {
namespace {

bool isStillImageDemuxer(const char* name) {
    const std::size_t length = std::strlen(name);
    const char suffix[] = "_pipe";
    const std::size_t suffixLength = sizeof(suffix) - 1;
    if (length > suffixLength && std::strcmp(name + length - suffixLength, suffix) == 0) {
        return true;
    }
    return std::strcmp(name, "image2") == 0;
}

// FFmpeg's still-image demuxers: the only formats an image file is read with, so that text,
// audio, video or playlist files are refused before they are demuxed.
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

LocalInputPtr openImageInput(const std::string& path) {
    // The image sequence demuxer would read '%' in a path as a frame-number pattern.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "pattern_type", "none", 0);
    LocalInputPtr input = openLocalFileInput(path, stillImageDemuxers(), &options);
    const DictionaryPtr unusedOptions(options);
    return input;
}

CodecContextPtr openDecoder(AVFormatContext* input, int* streamIndex) {
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0 || codec == nullptr) {
        return nullptr;
    }
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (decoder) {
        // An unreadable image is an ordinary answer here: keep the decoder's complaints quiet.
        decoder->log_level_offset = AV_LOG_VERBOSE - AV_LOG_ERROR;
    }
    if (!decoder ||
        avcodec_parameters_to_context(decoder.get(), input->streams[index]->codecpar) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        return nullptr;
    }
    *streamIndex = index;
    return decoder;
}

// Feeds packets of the stream until the decoder gives its first picture.
FramePtr decodeFirstPicture(AVFormatContext* input, AVCodecContext* decoder, int streamIndex) {
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) {
        return nullptr;
    }
    bool draining = false;
    while (true) {
        const int received = avcodec_receive_frame(decoder, frame.get());
        if (received == 0) {
            return frame;
        }
        if (received != AVERROR(EAGAIN) || draining) {
            return nullptr;
        }
        const int read = av_read_frame(input, packet.get());
        if (read < 0) {
            draining = true;
            avcodec_send_packet(decoder, nullptr);
            continue;
        }
        if (packet->stream_index == streamIndex) {
            const int sent = avcodec_send_packet(decoder, packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN)) {
                av_packet_unref(packet.get());
                return nullptr;
            }
        }
        av_packet_unref(packet.get());
    }
}

bool convertToRgba(const AVFrame* source, RgbaPicture& picture) {
    const int width = source->width;
    const int height = source->height;
    const auto format = static_cast<AVPixelFormat>(source->format);
    if (width <= 0 || height <= 0) {
        return false;
    }
    ScalerPtr scaler(sws_getContext(width, height, format, width, height, AV_PIX_FMT_RGBA,
                                    SWS_BICUBIC, nullptr, nullptr, nullptr));
    FramePtr target(av_frame_alloc());
    if (!scaler || !target) {
        return false;
    }
    target->width = width;
    target->height = height;
    target->format = AV_PIX_FMT_RGBA;
    if (av_frame_get_buffer(target.get(), 0) < 0) {
        return false;
    }
    sws_scale(scaler.get(), source->data, source->linesize, 0, height, target->data,
              target->linesize);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(rowBytes * height);
    for (int row = 0; row < height; ++row) {
        std::memcpy(picture.pixels.data() + rowBytes * row,
                    target->data[0] + static_cast<std::ptrdiff_t>(target->linesize[0]) * row,
                    rowBytes);
    }
    return true;
}

}  // namespace

bool decodeImageFile(const std::string& path, RgbaPicture& picture) {
    LocalInputPtr input = openImageInput(path);
    if (!input) {
        return false;
    }
    int streamIndex = -1;
    CodecContextPtr decoder = openDecoder(input.get(), &streamIndex);
    if (!decoder) {
        return false;
    }
    FramePtr frame = decodeFirstPicture(input.get(), decoder.get(), streamIndex);
    return frame && convertToRgba(frame.get(), picture);
}

}  // namespace host
