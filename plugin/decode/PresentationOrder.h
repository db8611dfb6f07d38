#pragma once

#include "decode/PacketRecord.h"
#include "picture/FfmpegPointers.h"

#include <vector>

namespace video {

// Where each packet's picture comes in presentation order: frame N of a video is the N-th
// picture its decoder puts out when the stream is decoded from the start.
struct PresentationOrder {
    std::vector<int> ofPacket;  // frame number of each packet's picture, -1 for none
    int frameCount = 0;
};

// From the packets' presentation time stamps. False when a picture has no time stamp or two
// pictures share one, since the order is then not known from them.
bool orderByTimestamps(const PacketList& packets, PresentationOrder& order);

// By decoding the whole stream once and noting which packet each picture came from: exact for
// any file, at the cost of one full decode.
bool orderByDecoding(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                     const PacketList& packets, PresentationOrder& order);

}  // namespace video
