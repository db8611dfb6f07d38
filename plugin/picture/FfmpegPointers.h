#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>

// Owning pointers for the FFmpeg objects the video cache uses, each released with its own
// FFmpeg function.
namespace video {

struct FormatContextCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct CodecParametersFreer {
    void operator()(AVCodecParameters* parameters) const { avcodec_parameters_free(&parameters); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using CodecParametersPtr = std::unique_ptr<AVCodecParameters, CodecParametersFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;

// Drops the packet's payload reference when a read-loop iteration ends, however it ends.
class PacketUnref {
public:
    explicit PacketUnref(AVPacket* packet) : packet_(packet) {}
    ~PacketUnref() { av_packet_unref(packet_); }
    PacketUnref(const PacketUnref&) = delete;
    PacketUnref& operator=(const PacketUnref&) = delete;

private:
    AVPacket* packet_;
};

}  // namespace video
