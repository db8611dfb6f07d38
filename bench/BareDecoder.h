#pragma once

// The least work that shows one frame of a video: seek to the keyframe at or before it, decode
// on one thread up to it, convert that one picture to RGB24. Plain FFmpeg calls, none of the
// plug-in's, so that it stays the same yardstick whatever the cache does.

#include "picture/FfmpegPointers.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

class BareDecoder {
public:
    explicit BareDecoder(const std::string& path) {
        AVFormatContext* opened = nullptr;
        if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) {
            throw std::runtime_error("cannot open " + path);
        }
        input_.reset(opened);
        const AVCodec* codec = nullptr;
        if (avformat_find_stream_info(input_.get(), nullptr) < 0 ||
            (stream_ = av_find_best_stream(input_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0)) <
                0) {
            throw std::runtime_error("no video stream in " + path);
        }
        decoder_.reset(avcodec_alloc_context3(codec));
        if (!decoder_ ||
            avcodec_parameters_to_context(decoder_.get(), input_->streams[stream_]->codecpar) < 0) {
            throw std::runtime_error("cannot set up a decoder for " + path);
        }
        decoder_->thread_count = 1;
        if (avcodec_open2(decoder_.get(), codec, nullptr) < 0) {
            throw std::runtime_error("cannot open a decoder for " + path);
        }
        collectStamps();
    }

    int frameCount() const { return static_cast<int>(stamps_.size()); }

    // Decodes from the keyframe at or before `frame` (in presentation order) up to it and
    // converts it; false when the frame never came out of the decoder.
    bool showFrame(int frame) {
        const int64_t wanted = stamps_.at(static_cast<size_t>(frame));
        if (av_seek_frame(input_.get(), stream_, wanted, AVSEEK_FLAG_BACKWARD) < 0) {
            return false;
        }
        avcodec_flush_buffers(decoder_.get());
        while (av_read_frame(input_.get(), packet_.get()) >= 0) {
            const video::PacketUnref unref(packet_.get());
            if (packet_->stream_index == stream_ &&
                avcodec_send_packet(decoder_.get(), packet_.get()) >= 0 && receiveUpTo(wanted)) {
                return true;
            }
        }
        avcodec_send_packet(decoder_.get(), nullptr);
        return receiveUpTo(wanted);
    }

private:
    void collectStamps() {
        while (av_read_frame(input_.get(), packet_.get()) >= 0) {
            const video::PacketUnref unref(packet_.get());
            if (packet_->stream_index == stream_ && packet_->pts != AV_NOPTS_VALUE) {
                stamps_.push_back(packet_->pts);
            }
        }
        std::sort(stamps_.begin(), stamps_.end());
    }

    bool receiveUpTo(int64_t wanted) {
        while (avcodec_receive_frame(decoder_.get(), frame_.get()) >= 0) {
            const bool found = frame_->best_effort_timestamp == wanted;
            if (found) {
                convert();
            }
            av_frame_unref(frame_.get());
            if (found) {
                return true;
            }
        }
        return false;
    }

    void convert() {
        const int width = frame_->width;
        const int height = frame_->height;
        scaler_.reset(sws_getCachedContext(
            scaler_.release(), width, height, static_cast<AVPixelFormat>(frame_->format), width,
            height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr));
        rgb_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
        uint8_t* planes[4] = {rgb_.data(), nullptr, nullptr, nullptr};
        int linesizes[4] = {width * 3, 0, 0, 0};
        sws_scale(scaler_.get(), frame_->data, frame_->linesize, 0, height, planes, linesizes);
    }

    video::FormatContextPtr input_;
    video::CodecContextPtr decoder_;
    video::PacketPtr packet_{av_packet_alloc()};
    video::FramePtr frame_{av_frame_alloc()};
    video::ScalerPtr scaler_;
    std::vector<uint8_t> rgb_;
    std::vector<int64_t> stamps_;
    int stream_ = -1;
};

}  // namespace bench
