#pragma once

#include "decode/LocalMediaInput.h"
#include "decode/PacketRecord.h"
#include "picture/FfmpegPointers.h"

#include <memory>

namespace video {

// Reads the packets of one stream of an input of its own from where it stands, one at a time,
// and lists them without decoding anything. Its input is apart from the one blocks are decoded
// from, so that the scan can go on between the blocks.
class PacketScan {
public:
    PacketScan(LocalMediaPtr input, int streamIndex);

    // Reads on to the next packet of the stream and appends its record to `packets`; the packet
    // itself stays readable through packet() until the next read. False at the end of the input
    // (or on a read error, which ends the file as well).
    bool readNext(PacketList& packets);
    const AVPacket& packet() const { return *packet_; }

private:
    LocalMediaPtr input_;
    int streamIndex_;
    PacketPtr packet_;
    std::shared_ptr<const std::vector<uint8_t>> palette_;
};

// The record of one packet; the checksum is left 0.
PacketRecord recordOf(const AVPacket& packet);
uint32_t payloadChecksum(const AVPacket& packet);

}  // namespace video
