#include "decode/BlockLayout.h"

#include "decode/BlockOfFrame.h"

#include <algorithm>

namespace video {
namespace {

// Whether the frames before `firstKeyFrame` are decoded from a keyframe whose own picture is
// discarded: a clip cut without re-encoding keeps the packets from the keyframe before the cut,
// marked to be discarded, so the pictures it shows first need them.
bool headFollowsDiscardedKeyframe(const PacketList& packets, const PresentationOrder& order,
                                  int firstKeyFrame) {
    for (size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].key && order.ofPacket[i] < 0) {
            return true;
        }
        if (order.ofPacket[i] >= 0 && order.ofPacket[i] < firstKeyFrame) {
            return false;
        }
    }
    return false;
}

std::vector<int> keyframeStarts(const PacketList& packets, const PresentationOrder& order) {
    std::vector<int> starts;
    for (size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].key && order.ofPacket[i] >= 0) {
            starts.push_back(order.ofPacket[i]);
        }
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    const int firstKeyFrame = starts.empty() ? order.frameCount : starts.front();
    if (firstKeyFrame > 0 && headFollowsDiscardedKeyframe(packets, order, firstKeyFrame)) {
        starts.insert(starts.begin(), 0);
    }
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
        const int block =
            blockOfFrame(layout.blockStarts, layout.blockStarts.size(), order.ofPacket[i]);
        if (block < 0) {
            continue;
        }
        if (firstPacket[block] < 0) {
            firstPacket[block] = i;
        }
        layout.plans[block].lastPacket = i;
    }
    // Decoding starts at the last keyframe at or before the block's first packet that is not
    // the keyframe of a later block: pictures shown before a keyframe but stored after it (the
    // first ones of a cut clip) are decoded from the keyframe before.
    std::vector<int> keyPackets;
    for (int i = 0; i < static_cast<int>(packets.size()); ++i) {
        if (packets[i].key) {
            keyPackets.push_back(i);
        }
    }
    for (int b = 0; b < blockCount; ++b) {
        if (firstPacket[b] < 0) {
            continue;
        }
        auto after = std::upper_bound(keyPackets.begin(), keyPackets.end(), firstPacket[b]);
        while (after != keyPackets.begin() &&
               order.ofPacket[*(after - 1)] >= layout.blockStarts[b + 1]) {
            --after;
        }
        if (after != keyPackets.begin()) {
            layout.plans[b].anchor = *(after - 1);
        }
    }
    return layout;
}

BlockLayout layOutSettledBlocks(const PacketList& packets, const std::vector<int>& frameOfPacket,
                                int numbered) {
    // Pictures still unnumbered come after the numbered ones, whatever their final order: the
    // blocks within the numbered frames do not depend on it.
    PresentationOrder order;
    order.ofPacket = frameOfPacket;
    order.frameCount = numbered;
    for (size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].hasPicture && order.ofPacket[i] < 0) {
            order.ofPacket[i] = order.frameCount++;
        }
    }
    BlockLayout layout = layOutBlocks(packets, order);
    const size_t blockCount = layout.plans.size();
    size_t kept = 0;
    while (kept + 1 < blockCount && layout.blockStarts[kept + 1] <= numbered - 2) {
        ++kept;
    }
    if (kept == 0) {
        return BlockLayout{{0}, {}};
    }
    layout.blockStarts.resize(kept + 1);
    layout.plans.resize(kept);
    return layout;
}

}  // namespace video
