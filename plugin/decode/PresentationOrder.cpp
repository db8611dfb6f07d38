#include "decode/PresentationOrder.h"

#include "decode/PacketRangeDecoder.h"

#include <algorithm>
#include <utility>

namespace video {

bool orderByTimestamps(const PacketList& packets, PresentationOrder& order) {
    std::vector<std::pair<int64_t, int>> pictures;  // time stamp, packet index
    for (int i = 0; i < static_cast<int>(packets.size()); ++i) {
        if (!packets[i].hasPicture) {
            continue;
        }
        if (packets[i].pts == AV_NOPTS_VALUE) {
            return false;
        }
        pictures.emplace_back(packets[i].pts, i);
    }
    std::sort(pictures.begin(), pictures.end());
    auto sameTime = [](const auto& a, const auto& b) { return a.first == b.first; };
    if (std::adjacent_find(pictures.begin(), pictures.end(), sameTime) != pictures.end()) {
        return false;
    }
    order.ofPacket.assign(packets.size(), -1);
    for (int frame = 0; frame < static_cast<int>(pictures.size()); ++frame) {
        order.ofPacket[pictures[frame].second] = frame;
    }
    order.frameCount = static_cast<int>(pictures.size());
    return true;
}

bool orderByDecoding(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                     const PacketList& packets, PresentationOrder& order) {
    const int packetCount = static_cast<int>(packets.size());
    order.ofPacket.assign(packets.size(), -1);
    order.frameCount = 0;
    auto stampOf = [&packets](int index) -> int64_t {
        return packets[index].hasPicture ? index : AV_NOPTS_VALUE;
    };
    auto onFrame = [&order, packetCount](const AVFrame& frame) {
        if (frame.pts >= 0 && frame.pts < packetCount && order.ofPacket[frame.pts] < 0) {
            order.ofPacket[frame.pts] = order.frameCount++;
        }
        return true;
    };
    return decodePacketRange(input, decoder, streamIndex, packets, {0, packetCount - 1}, stampOf,
                             onFrame);
}

}  // namespace video
