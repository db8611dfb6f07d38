#include "decode/PacketCursor.h"

#include "decode/PacketScan.h"

namespace video {
namespace {

bool known(int64_t timestamp) {
    return timestamp != AV_NOPTS_VALUE;
}

// Whether a packet read after a seek is the given packet of the scan. Time stamps do not tell:
// right after a seek, program streams hand the first pictures time stamps of their neighbours
// and no byte position. Size and payload do; for a list from the container's index, which
// gives every byte position, the position does.
bool isSamePacket(const AVPacket& read, const PacketRecord& scanned) {
    const bool key = (read.flags & AV_PKT_FLAG_KEY) != 0;
    if (key != scanned.key || read.size != scanned.size) {
        return false;
    }
    if (read.pos >= 0 && scanned.pos >= 0 && read.pos != scanned.pos) {
        return false;
    }
    if (!scanned.checksum) {
        return read.pos >= 0 && scanned.pos >= 0;
    }
    return payloadChecksum(read) == *scanned.checksum;
}

// Whether a packet read after a seek comes later in the file than the given packet of the scan.
bool isPastPacket(const AVPacket& read, const PacketRecord& scanned) {
    if (known(read.dts) && known(scanned.dts)) {
        return read.dts > scanned.dts;
    }
    return read.pos >= 0 && scanned.pos >= 0 && read.pos > scanned.pos;
}

int64_t seekTime(const PacketRecord& record) {
    return known(record.dts) ? record.dts : record.pts;
}

// Whether the packet read next in sequence is the one the scan saw there.
bool followsScan(const AVPacket& read, const PacketRecord& scanned) {
    const bool key = (read.flags & AV_PKT_FLAG_KEY) != 0;
    return key == scanned.key && read.size == scanned.size &&
           (read.pos < 0 || scanned.pos < 0 || read.pos == scanned.pos);
}

// Whether the packet read is the listed one with its tail missing, as the last packet of a file
// cut short is read.
bool isCutShort(const AVPacket& read, const PacketRecord& scanned) {
    return read.size > 0 && read.size < scanned.size &&
           (read.pos < 0 || scanned.pos < 0 || read.pos == scanned.pos);
}

}  // namespace

PacketCursor::PacketCursor(AVFormatContext* input, int streamIndex, const PacketList& packets)
    : input_(input), streamIndex_(streamIndex), packets_(packets), pending_(av_packet_alloc()) {}

bool PacketCursor::seekTo(int index) {
    nextIndex_ = -1;
    inputEnded_ = false;
    if (!pending_ || index < 0 || index >= static_cast<int>(packets_.size())) {
        return false;
    }
    // Seek points to try: the packet itself, by its presentation time stamp (what container
    // indexes hold) and then by its decoding time stamp (what program streams are sought by);
    // the keyframe before it; and the start, from where the whole way to the packet is read.
    int previousKey = index - 1;
    while (previousKey > 0 && !packets_[previousKey].key) {
        --previousKey;
    }
    const PacketRecord& packet = packets_[index];
    if (seekNear(index, packet.pts, packet.pos, true) ||
        (packet.dts != packet.pts && seekNear(index, packet.dts, packet.pos, true)) ||
        (previousKey > 0 &&
         seekNear(index, seekTime(packets_[previousKey]), packets_[previousKey].pos, true)) ||
        seekNear(index, seekTime(packets_[0]), packets_[0].pos, false)) {
        nextIndex_ = index;
        return true;
    }
    return false;
}

bool PacketCursor::seekNear(int wanted, int64_t timestamp, int64_t position, bool giveUpWhenPast) {
    av_packet_unref(pending_.get());
    hasPending_ = false;
    // Streams without time stamps (raw elementary streams) are sought by byte position.
    const PacketRecord& target = packets_[wanted];
    int sought = known(timestamp)
                     ? av_seek_frame(input_, streamIndex_, timestamp, AVSEEK_FLAG_BACKWARD)
                 : position >= 0 ? av_seek_frame(input_, -1, position, AVSEEK_FLAG_BYTE)
                                 : -1;
    if (sought < 0) {
        return false;
    }
    while (readStreamPacket(pending_.get())) {
        if (isSamePacket(*pending_, target)) {
            hasPending_ = true;
            return true;
        }
        bool past = isPastPacket(*pending_, target);
        av_packet_unref(pending_.get());
        if (past && giveUpWhenPast) {
            return false;
        }
    }
    return false;
}

bool PacketCursor::readStreamPacket(AVPacket* packet) {
    int read = 0;
    while ((read = av_read_frame(input_, packet)) >= 0) {
        if (packet->stream_index == streamIndex_) {
            return true;
        }
        av_packet_unref(packet);
    }
    inputEnded_ = read != AVERROR(ENOMEM);
    return false;
}

int PacketCursor::next(AVPacket* packet) {
    if (nextIndex_ < 0 || nextIndex_ >= static_cast<int>(packets_.size())) {
        return -1;
    }
    if (hasPending_) {
        av_packet_move_ref(packet, pending_.get());
        hasPending_ = false;
    } else if (!readStreamPacket(packet) || !followsScan(*packet, packets_[nextIndex_])) {
        inputEnded_ = inputEnded_ || isCutShort(*packet, packets_[nextIndex_]);
        nextIndex_ = -1;
        return -1;
    }
    return nextIndex_++;
}

void PacketCursor::putBack(AVPacket* packet) {
    if (!pending_ || nextIndex_ <= 0 || hasPending_) {
        return;
    }
    av_packet_unref(pending_.get());
    av_packet_move_ref(pending_.get(), packet);
    hasPending_ = true;
    --nextIndex_;
}

}  // namespace video
