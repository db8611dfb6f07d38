#include "decode/PacketRangeDecoder.h"

#include "decode/PacketCursor.h"

#include <algorithm>

namespace video {
namespace {

// Hands every frame the decoder has ready to the handler; false once the handler wants no more.
bool receiveFrames(AVCodecContext* decoder, AVFrame* frame, const FrameHandler& onFrame) {
    while (avcodec_receive_frame(decoder, frame) == 0) {
        bool wantsMore = onFrame(*frame);
        av_frame_unref(frame);
        if (!wantsMore) {
            return false;
        }
    }
    return true;
}

// Gives the first packet after a seek the palette in force there, unless it brings its own.
void addPalette(AVPacket* packet, const PacketRecord& record) {
    size_t bytes = 0;
    if (!record.palette || av_packet_get_side_data(packet, AV_PKT_DATA_PALETTE, &bytes)) {
        return;
    }
    uint8_t* palette = av_packet_new_side_data(packet, AV_PKT_DATA_PALETTE, record.palette->size());
    if (palette) {
        std::copy(record.palette->begin(), record.palette->end(), palette);
    }
}

}  // namespace

bool decodePacketRange(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                       const PacketList& packets, PacketRange range, const StampOf& stampOf,
                       const FrameHandler& onFrame, bool* inputEnded) {
    if (inputEnded) {
        *inputEnded = false;
    }
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) {
        return false;
    }
    avcodec_flush_buffers(decoder);
    PacketCursor cursor(input, streamIndex, packets);
    if (!cursor.seekTo(range.first)) {
        if (inputEnded) {
            *inputEnded = cursor.inputEnded();
        }
        return false;
    }
    bool wantsMore = true;
    while (wantsMore) {
        int index = cursor.next(packet.get());
        PacketUnref unref(packet.get());
        if (index < 0) {
            if (inputEnded) {
                *inputEnded = cursor.inputEnded();
            }
            break;
        }
        // An empty packet would read as the end of input; discarded pictures still go in, since
        // later pictures may refer to them.
        if (packet->size > 0) {
            if (index == range.first) {
                addPalette(packet.get(), packets[static_cast<size_t>(index)]);
            }
            packet->pts = stampOf(index);
            if (avcodec_send_packet(decoder, packet.get()) == AVERROR(EAGAIN)) {
                wantsMore = receiveFrames(decoder, frame.get(), onFrame);
                avcodec_send_packet(decoder, packet.get());
            }
            wantsMore = wantsMore && receiveFrames(decoder, frame.get(), onFrame);
        }
        if (index >= range.last) {
            break;
        }
    }
    if (wantsMore && avcodec_send_packet(decoder, nullptr) == 0) {
        receiveFrames(decoder, frame.get(), onFrame);
    }
    avcodec_flush_buffers(decoder);
    return true;
}

}  // namespace video
