#pragma once

#include "decode/FfmpegPointers.h"
#include "decode/PacketRecord.h"

namespace video {

// Reads the whole input once, from where it stands, and lists the packets of one stream without
// decoding anything.
PacketList scanStreamPackets(AVFormatContext* input, int streamIndex);

// The record of one packet; the checksum is left 0.
PacketRecord recordOf(const AVPacket& packet);
uint32_t payloadChecksum(const AVPacket& packet);

}  // namespace video
