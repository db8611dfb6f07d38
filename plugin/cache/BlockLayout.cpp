#include "cache/BlockLayout.h"

#include <algorithm>

namespace video {
namespace {

std::vector<int> keyframeStarts(const PacketList& packets, const PresentationOrder& order) {
    std::vector<int> starts;
    for (size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].key && order.ofPacket[i] >= 0) {
            starts.push_back(order.ofPacket[i]);
        }
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    if (starts.size() > 1 && starts.back() == order.frameCount - 1) {
        starts.pop_back();
    }
    return starts;
}

}  // namespace

BlockLayout layOutBlocks(const PacketList& packets, const PresentationOrder& order) {
    BlockLayout layout;
    layout.blockStarts = keyframeStarts(packets, order);
    const int blockCount = static_cast<int>(layout.blockStarts.size());
    layout.blockStarts.push_back(order.frameCount);

    // The first and last packet, in file order, of each block's pictures.
    std::vector<int> firstPacket(blockCount, -1);
    layout.plans.assign(blockCount, BlockPlan{});
    for (int i = 0; i < static_cast<int>(packets.size()); ++i) {
        int frame = order.ofPacket[i];
        auto after = std::upper_bound(layout.blockStarts.begin(), layout.blockStarts.end(), frame);
        int block = static_cast<int>(after - layout.blockStarts.begin()) - 1;
        if (frame < 0 || block < 0 || block >= blockCount) {
            continue;
        }
        if (firstPacket[block] < 0) {
            firstPacket[block] = i;
        }
        layout.plans[block].lastPacket = i;
    }
    // Decoding starts at the last keyframe at or before the block's first packet.
    std::vector<int> keyPackets;
    for (int i = 0; i < static_cast<int>(packets.size()); ++i) {
        if (packets[i].key) {
            keyPackets.push_back(i);
        }
    }
    for (int b = 0; b < blockCount; ++b) {
        auto after = std::upper_bound(keyPackets.begin(), keyPackets.end(), firstPacket[b]);
        if (firstPacket[b] >= 0 && after != keyPackets.begin()) {
            layout.plans[b].anchor = *(after - 1);
        }
    }
    return layout;
}

}  // namespace video
