#include "decode/ScanOrder.h"

namespace video {
namespace {

bool knownTime(int64_t timestamp) {
    return timestamp != AV_NOPTS_VALUE;
}

}  // namespace

ScanOrder::ScanOrder(DecoderMaker makeDecoder) : makeDecoder_(std::move(makeDecoder)) {}

void ScanOrder::add(const PacketList& packets, const AVPacket& packet) {
    const int index = static_cast<int>(packets.size()) - 1;
    frameOf_.push_back(-1);
    const PacketRecord& record = packets[static_cast<size_t>(index)];
    if (mode_ == Mode::firstPicture && record.hasPicture) {
        mode_ = knownTime(record.pts) ? Mode::timestamps : Mode::decoding;
        // Decoding from a later packet could lack what the packets before it hold.
        if (mode_ == Mode::decoding && index > 0) {
            mode_ = Mode::wholeList;
        }
        if (mode_ == Mode::decoding) {
            decoder_ = makeDecoder_();
            sent_.reset(av_packet_alloc());
            frame_.reset(av_frame_alloc());
            if (!decoder_ || !sent_ || !frame_) {
                mode_ = Mode::wholeList;
            }
        }
    }
    switch (mode_) {
        case Mode::timestamps:
            if (record.hasPicture) {
                addTimestamped(packets, index);
            }
            break;
        case Mode::decoding:
            decode(packets, &packet);
            break;
        case Mode::firstPicture:
        case Mode::wholeList:
            break;
    }
}

void ScanOrder::finish(const PacketList& packets) {
    if (mode_ == Mode::timestamps) {
        numberUpTo(packets, INT64_MAX);
    } else if (mode_ == Mode::decoding) {
        decode(packets, nullptr);
    }
}

void ScanOrder::number(const PacketList& packets, int index) {
    frameOf_[static_cast<size_t>(index)] = numbered_;
    if (packets[static_cast<size_t>(index)].key) {
        keyFrames_.push_back(numbered_);
    }
    ++numbered_;
}

void ScanOrder::addTimestamped(const PacketList& packets, int index) {
    const PacketRecord& record = packets[static_cast<size_t>(index)];
    const bool inOrder = knownTime(record.pts) && knownTime(record.dts) &&
                         record.pts >= record.dts &&
                         (!knownTime(lastDecodingTime_) || record.dts > lastDecodingTime_) &&
                         (!knownTime(lastNumberedTime_) || record.pts > lastNumberedTime_);
    if (!inOrder) {
        mode_ = Mode::wholeList;
        return;
    }
    lastDecodingTime_ = record.dts;
    waiting_.emplace(record.pts, index);
    numberUpTo(packets, record.dts);
}

void ScanOrder::numberUpTo(const PacketList& packets, int64_t timestamp) {
    while (mode_ == Mode::timestamps && !waiting_.empty() && waiting_.top().first <= timestamp) {
        const Waiting next = waiting_.top();
        waiting_.pop();
        if (knownTime(lastNumberedTime_) && next.first <= lastNumberedTime_) {
            // Two pictures at one time: the time stamps do not tell their order.
            mode_ = Mode::wholeList;
            return;
        }
        lastNumberedTime_ = next.first;
        number(packets, next.second);
    }
}

// Each packet goes in with its index as its time stamp, which its picture comes out with.
void ScanOrder::decode(const PacketList& packets, const AVPacket* packet) {
    if (mode_ != Mode::decoding) {
        return;
    }
    if (!packet) {
        if (avcodec_send_packet(decoder_.get(), nullptr) == 0) {
            receiveFrames(packets);
        }
        return;
    }
    // An empty packet would read as the end of input.
    if (packet->size <= 0 || av_packet_ref(sent_.get(), packet) < 0) {
        return;
    }
    PacketUnref unref(sent_.get());
    const int index = static_cast<int>(packets.size()) - 1;
    sent_->pts = packets[static_cast<size_t>(index)].hasPicture ? index : AV_NOPTS_VALUE;
    if (avcodec_send_packet(decoder_.get(), sent_.get()) == AVERROR(EAGAIN)) {
        receiveFrames(packets);
        avcodec_send_packet(decoder_.get(), sent_.get());
    }
    receiveFrames(packets);
}

void ScanOrder::receiveFrames(const PacketList& packets) {
    const int64_t count = static_cast<int64_t>(packets.size());
    while (avcodec_receive_frame(decoder_.get(), frame_.get()) == 0) {
        const int64_t index = frame_->pts;
        av_frame_unref(frame_.get());
        if (index >= 0 && index < count && frameOf_[static_cast<size_t>(index)] < 0) {
            number(packets, static_cast<int>(index));
        }
    }
}

}  // namespace video
