#pragma once

#include "decode/FfmpegPointers.h"
#include "decode/PacketRecord.h"

#include <cstdint>
#include <functional>

namespace video {

// Packets `first` to `last` of the scan, both included.
struct PacketRange {
    int first = 0;
    int last = -1;
};
using StampOf = std::function<int64_t(int packetIndex)>;
using FrameHandler = std::function<bool(const AVFrame& frame)>;

// Decodes a range of packets from a fresh decoder state, then drains the decoder. Each packet
// is sent with the presentation time stamp `stampOf(index)`, which the decoder carries over to
// the picture it holds, so every frame received tells which picture it is whatever the file's
// own time stamps are. Each frame goes to `onFrame`, which returns false when it wants no more.
// Packets the decoder refuses and decoding errors are skipped. Returns false when the first
// packet could not be reached. `inputEnded`, when given, tells whether the input ended (see
// PacketCursor::inputEnded) before the range's last packet was read.
bool decodePacketRange(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                       const PacketList& packets, PacketRange range, const StampOf& stampOf,
                       const FrameHandler& onFrame, bool* inputEnded = nullptr);

}  // namespace video
