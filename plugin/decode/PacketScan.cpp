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

PacketList scanStreamPackets(AVFormatContext* input, int streamIndex) {
    PacketList packets;
    PacketPtr packet(av_packet_alloc());
    if (!packet) {
        return packets;
    }
    std::shared_ptr<const std::vector<uint8_t>> palette;
    while (av_read_frame(input, packet.get()) >= 0) {
        PacketUnref unref(packet.get());
        if (packet->stream_index == streamIndex) {
            size_t paletteBytes = 0;
            const uint8_t* newPalette =
                av_packet_get_side_data(packet.get(), AV_PKT_DATA_PALETTE, &paletteBytes);
            if (newPalette && paletteBytes == AVPALETTE_SIZE) {
                palette = std::make_shared<const std::vector<uint8_t>>(newPalette,
                                                                       newPalette + paletteBytes);
            }
            packets.push_back(recordOf(*packet));
            packets.back().palette = palette;
            if (packets.back().key || packets.size() == 1) {
                packets.back().checksum = payloadChecksum(*packet);
            }
        }
    }
    return packets;
}

}  // namespace video
