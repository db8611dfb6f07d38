#include "cache/PacketScan.h"

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
    while (av_read_frame(input, packet.get()) >= 0) {
        PacketUnref unref(packet.get());
        if (packet->stream_index == streamIndex) {
            packets.push_back(recordOf(*packet));
            if (packets.back().key || packets.size() == 1) {
                packets.back().checksum = payloadChecksum(*packet);
            }
        }
    }
    return packets;
}

}  // namespace video
