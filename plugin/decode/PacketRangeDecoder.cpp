#include "decode/PacketRangeDecoder.h"

#include <algorithm>

namespace video {
namespace {

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

PacketFeed::PacketFeed(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                       const PacketList& packets)
    : decoder_(decoder),
      packets_(packets),
      cursor_(input, streamIndex, packets),
      packet_(av_packet_alloc()),
      frame_(av_frame_alloc()) {}

bool PacketFeed::seekTo(int index) {
    stop();
    ready_ = packet_ && frame_ && cursor_.seekTo(index);
    inputEnded_ = !ready_ && cursor_.inputEnded();
    soughtTo_ = ready_ ? index : -1;
    return ready_;
}

void PacketFeed::stop() {
    avcodec_flush_buffers(decoder_);
    draining_ = false;
    if (frame_) {
        av_frame_unref(frame_.get());
    }
    holding_ = false;
    ready_ = false;
}

PacketFeed::Take PacketFeed::receiveFrames(const Handler& handler) {
    if (holding_) {
        const Take take = handler(*frame_);
        if (take == Take::kLater) {
            return take;
        }
        holding_ = false;
        av_frame_unref(frame_.get());
        if (take == Take::kEnough) {
            return take;
        }
    }
    while (avcodec_receive_frame(decoder_, frame_.get()) == 0) {
        const Take take = handler(*frame_);
        if (take == Take::kLater) {
            holding_ = true;
            return take;
        }
        av_frame_unref(frame_.get());
        if (take == Take::kEnough) {
            return take;
        }
    }
    return Take::kMore;
}

void PacketFeed::feed(int last, int beyond, const StampOf& stampOf, const Handler& handler) {
    inputEnded_ = false;
    if (!ready_ || receiveFrames(handler) != Take::kMore) {
        return;
    }
    if (draining_ || !sendPackets(last, beyond, stampOf, handler)) {
        stop();
    }
}

bool PacketFeed::sendPackets(int last, int beyond, const StampOf& stampOf, const Handler& handler) {
    // A decoder already standing past `last` holds the frames wanted: the packets that follow
    // bring them out.
    const int limit = std::max(last, cursor_.upcoming() - 1) + beyond;
    for (int upcoming = cursor_.upcoming(); upcoming >= 0 && upcoming <= limit;
         upcoming = cursor_.upcoming()) {
        const int index = cursor_.next(packet_.get());
        const PacketUnref unref(packet_.get());
        if (index < 0) {
            inputEnded_ = upcoming <= last && cursor_.inputEnded();
            break;
        }
        // An empty packet would read as the end of input; discarded pictures still go in, since
        // later pictures may refer to them.
        if (packet_->size == 0) {
            continue;
        }
        if (index == soughtTo_) {
            addPalette(packet_.get(), packets_[static_cast<size_t>(index)]);
        }
        packet_->pts = stampOf(index);
        int sent = avcodec_send_packet(decoder_, packet_.get());
        if (sent == AVERROR(EAGAIN)) {
            if (receiveFrames(handler) != Take::kMore) {
                // Not sent: it goes first next time, the decoder standing as it does now.
                cursor_.putBack(packet_.get());
                return true;
            }
            sent = avcodec_send_packet(decoder_, packet_.get());
        }
        packetsSent_ += sent == 0 ? 1 : 0;
        if (receiveFrames(handler) != Take::kMore) {
            return true;
        }
    }
    // Past the last listed packet, the frames the drained decoder still holds are the last ones
    // of the file: the next feed goes on with them.
    const bool listEnded = cursor_.upcoming() >= static_cast<int>(packets_.size());
    draining_ = avcodec_send_packet(decoder_, nullptr) == 0;
    return draining_ && receiveFrames(handler) != Take::kMore && listEnded;
}

bool decodePacketRange(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                       const PacketList& packets, PacketRange range, const StampOf& stampOf,
                       const FrameHandler& onFrame, bool* inputEnded) {
    PacketFeed feed(input, decoder, streamIndex, packets);
    const bool reached = feed.seekTo(range.first);
    if (reached) {
        feed.feed(range.last, 0, stampOf, [&onFrame](const AVFrame& frame) {
            return onFrame(frame) ? PacketFeed::Take::kMore : PacketFeed::Take::kEnough;
        });
        feed.stop();
    }
    if (inputEnded) {
        *inputEnded = feed.inputEnded();
    }
    return reached;
}

}  // namespace video
