#include "decode/BlockLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using video::BlockLayout;
using video::PacketList;
using video::PacketRecord;
using video::PresentationOrder;

// Packets in file order with the given keyframes.
PacketList packetsOf(int count, const std::set<int>& keyPackets) {
    PacketList packets(count);
    for (int key : keyPackets) {
        packets[key].key = true;
    }
    return packets;
}

PresentationOrder orderOf(const std::vector<int>& frameOfPacket) {
    PresentationOrder order;
    order.ofPacket = frameOfPacket;
    for (int frame : frameOfPacket) {
        order.frameCount += frame >= 0;
    }
    return order;
}

std::vector<int> inFileOrder(int count) {
    std::vector<int> frames(count);
    for (int i = 0; i < count; ++i) {
        frames[i] = i;
    }
    return frames;
}

// Blocks start at keyframes and end with the frame count, each decoded from its keyframe packet
// up to the last packet it needs.
TEST(BlockLayout, blocksStartAtKeyframesAndAreDecodedFromThem) {
    const struct {
        const char* what;
        int packets;
        std::set<int> keys;
        std::vector<int> frameOfPacket;
        std::vector<int> blockStarts;
        std::vector<std::pair<int, int>> plans;  // anchor and last packet of each block
    } cases[] = {
        {"keyframes at 0, 12, 24",
         30,
         {0, 12, 24},
         inFileOrder(30),
         {0, 12, 24, 30},
         {{0, 11}, {12, 23}, {24, 29}}},
        {"a keyframe on the last frame starts no block",
         30,
         {0, 12, 29},
         inFileOrder(30),
         {0, 12, 30},
         {{0, 11}, {12, 29}}},
        {"a single frame", 1, {0}, {0}, {0, 1}, {{0, 0}}},
        {"frames before the first keyframe belong to no block",
         20,
         {3, 10},
         inFileOrder(20),
         {3, 10, 20},
         {{3, 9}, {10, 19}}},
        {"no keyframe", 10, {}, inFileOrder(10), {10}, {}},
        {"no packet", 0, {}, {}, {0}, {}},
        // Open GOP, file order I0 P3 B1 B2 I6 B4 B5 P8 B7: the pictures stored after keyframe 4
        // but shown before it belong to the block before, decoded past the keyframe's packet.
        {"an open GOP", 9, {0, 4}, {0, 3, 1, 2, 6, 4, 5, 8, 7}, {0, 6, 9}, {{0, 6}, {4, 8}}},
        // Pictures the decoder discards (or empty packets) are not frames.
        {"packets without picture", 6, {0, 3}, {0, -1, 1, 2, 3, 4}, {0, 2, 5}, {{0, 2}, {3, 5}}},
        // A clip cut without re-encoding keeps the packets from the keyframe before the cut,
        // which the decoder discards: the pictures shown first are decoded from that keyframe.
        // File order I- P- P0 P1 I2 P3.
        {"a cut clip", 6, {0, 4}, {-1, -1, 0, 1, 2, 3}, {0, 2, 4}, {{0, 3}, {4, 5}}},
        {"a cut clip shorter than a GOP", 4, {0}, {-1, 0, 1, 2}, {0, 3}, {{0, 3}}},
        // Shown first but stored after the first keyframe shown (B-pictures referring to the
        // discarded ones): still from the discarded keyframe. File order I- P- I2 B0 B1 P3.
        {"a cut clip's leading B-pictures",
         6,
         {0, 2},
         {-1, -1, 2, 0, 1, 3},
         {0, 2, 4},
         {{0, 4}, {2, 5}}},
    };
    for (const auto& c : cases) {
        const BlockLayout layout =
            layOutBlocks(packetsOf(c.packets, c.keys), orderOf(c.frameOfPacket));
        EXPECT_EQ(layout.blockStarts, c.blockStarts) << c.what;
        std::vector<std::pair<int, int>> plans;
        for (const video::BlockPlan& plan : layout.plans) {
            plans.emplace_back(plan.anchor, plan.lastPacket);
        }
        EXPECT_EQ(plans, c.plans) << c.what;
    }
}

TEST(PresentationOrder, followsTimestampsNotFileOrder) {
    PacketList packets(4);
    const int64_t stamps[] = {1000, 4000, 2000, 3000};
    for (int i = 0; i < 4; ++i) {
        packets[i].pts = stamps[i];
    }
    PresentationOrder order;
    ASSERT_TRUE(video::orderByTimestamps(packets, order));
    EXPECT_EQ(order.ofPacket, (std::vector<int>{0, 3, 1, 2}));
    EXPECT_EQ(order.frameCount, 4);
}

TEST(PresentationOrder, missingOrSharedTimestampsAreNotAnOrder) {
    PacketList packets(3);
    packets[0].pts = 0;
    packets[1].pts = AV_NOPTS_VALUE;
    packets[2].pts = 2;
    PresentationOrder order;
    EXPECT_FALSE(video::orderByTimestamps(packets, order));
    packets[1].pts = 2;
    EXPECT_FALSE(video::orderByTimestamps(packets, order));
    packets[1].hasPicture = false;
    packets[1].pts = AV_NOPTS_VALUE;
    EXPECT_TRUE(video::orderByTimestamps(packets, order));
    EXPECT_EQ(order.ofPacket, (std::vector<int>{0, -1, 1}));
}

}  // namespace
