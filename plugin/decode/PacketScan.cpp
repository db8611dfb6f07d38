#include "decode/PacketScan.h"

extern "C" {
#include <libavutil/adler32.h>
}

namespace video {

PacketRecord recordOf(const AVPacket& packet) {
    PacketRecord record;
    record.pts = packet.pts;
    record.dts = packet.dts;
    record.pos = packet.pos;
    record.size = packet.size;
    record.key = (packet.flags & AV_PKT_FLAG_KEY) != 0;
    record.hasPicture = packet.size > 0 && (packet.flags & AV_PKT_FLAG_DISCARD) == 0;
    return record;
}

uint32_t payloadChecksum(const AVPacket& packet) {
    return packet.data ? av_adler32_update(1, packet.data, packet.size) : 0;
}

PacketScan::PacketScan(LocalMediaPtr input, int streamIndex)
    : input_(std::move(input)), streamIndex_(streamIndex), packet_(av_packet_alloc()) {}

bool PacketScan::readNext(PacketList& packets) {
    if (!input_ || !packet_) {
        return false;
    }
    av_packet_unref(packet_.get());
    while (av_read_frame(input_.get(), packet_.get()) >= 0) {
        if (packet_->stream_index != streamIndex_) {
            av_packet_unref(packet_.get());
            continue;
        }
        size_t paletteBytes = 0;
        const uint8_t* newPalette =
            av_packet_get_side_data(packet_.get(), AV_PKT_DATA_PALETTE, &paletteBytes);
        if (newPalette && paletteBytes == AVPALETTE_SIZE) {
            palette_ =
                std::make_shared<const std::vector<uint8_t>>(newPalette, newPalette + paletteBytes);
        }
        packets.push_back(recordOf(*packet_));
        packets.back().palette = palette_;
        if (packets.back().key || packets.size() == 1) {
            packets.back().checksum = payloadChecksum(*packet_);
        }
        return true;
    }
    return false;
}

}  // namespace video
