#include "cache/PacketRangeDecoder.h"

#include "cache/PacketCursor.h"

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

}  // namespace

bool decodePacketRange(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                       const PacketList& packets, PacketRange range, const StampOf& stampOf,
                       const FrameHandler& onFrame) {
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) {
        return false;
    }
    avcodec_flush_buffers(decoder);
    PacketCursor cursor(input, streamIndex, packets);
    if (!cursor.seekTo(range.first)) {
        return false;
    }
    bool wantsMore = true;
    while (wantsMore) {
        int index = cursor.next(packet.get());
        PacketUnref unref(packet.get());
        if (index < 0) {
            break;
        }
        // An empty packet would read as the end of input; discarded pictures still go in, since
        // later pictures may refer to them.
        if (packet->size > 0) {
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
