#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

extern "C" {
#include <libavutil/avutil.h>
}

namespace video {

// What the keyframe scan keeps of one packet of the video stream, in file (decoding) order.
struct PacketRecord {
    int64_t pts = AV_NOPTS_VALUE;
    int64_t dts = AV_NOPTS_VALUE;
    int64_t pos = -1;  // byte position in the file, -1 when the format does not tell
    int size = 0;
    // Of the payload; kept for the packets seeks aim at (keyframes, the first) when the list
    // comes from reading them, unknown when it comes from the container's index.
    std::optional<uint32_t> checksum;
    bool key = false;
    bool hasPicture = true;  // false for empty packets and for packets the decoder must discard
    // The palette of paletted video in force at this packet (null for others). Files send it
    // once, with the first packet, so decoding that starts elsewhere must be handed it again.
    std::shared_ptr<const std::vector<uint8_t>> palette;
};

using PacketList = std::vector<PacketRecord>;

}  // namespace video
