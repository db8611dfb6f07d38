#include "decode/BlockLayout.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(BlockLayout, blocksStartAtKeyframesAndEndWithTheFrameCount) {
    BlockLayout layout = layOutBlocks(packetsOf(30, {0, 12, 24}), orderOf(inFileOrder(30)));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 12, 24, 30}));
    ASSERT_EQ(layout.plans.size(), 3u);
    EXPECT_EQ(layout.plans[2].anchor, 24);
    EXPECT_EQ(layout.plans[2].lastPacket, 29);
}

TEST(BlockLayout, keyframeOnTheLastFrameStartsNoBlock) {
    BlockLayout layout = layOutBlocks(packetsOf(30, {0, 12, 29}), orderOf(inFileOrder(30)));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 12, 30}));
    EXPECT_EQ(layout.plans[1].lastPacket, 29);
}

TEST(BlockLayout, singleFrameVideoKeepsItsOnlyBlock) {
    BlockLayout layout = layOutBlocks(packetsOf(1, {0}), orderOf({0}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 1}));
}

TEST(BlockLayout, framesBeforeTheFirstKeyframeBelongToNoBlock) {
    BlockLayout layout = layOutBlocks(packetsOf(20, {3, 10}), orderOf(inFileOrder(20)));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{3, 10, 20}));
    EXPECT_EQ(layout.plans[0].anchor, 3);
}

TEST(BlockLayout, videoWithoutKeyframeHasNoBlock) {
    BlockLayout layout = layOutBlocks(packetsOf(10, {}), orderOf(inFileOrder(10)));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{10}));
    EXPECT_TRUE(layout.plans.empty());
}

TEST(BlockLayout, emptyStreamHasNoBlock) {
    BlockLayout layout = layOutBlocks({}, orderOf({}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0}));
    EXPECT_TRUE(layout.plans.empty());
}

// Open GOPs: the pictures stored after keyframe 4 in the file, but shown before it, belong to
// the block before, so that block is decoded past the keyframe's packet.
TEST(BlockLayout, leadingPicturesOfAnOpenGopBelongToThePreviousBlock) {
    // File order I0 P3 B1 B2 I6 B4 B5 P8 B7; presentation 0..8.
    PacketList packets = packetsOf(9, {0, 4});
    BlockLayout layout = layOutBlocks(packets, orderOf({0, 3, 1, 2, 6, 4, 5, 8, 7}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 6, 9}));
    EXPECT_EQ(layout.plans[0].anchor, 0);
    EXPECT_EQ(layout.plans[0].lastPacket, 6);
    EXPECT_EQ(layout.plans[1].anchor, 4);
    EXPECT_EQ(layout.plans[1].lastPacket, 8);
}

// Pictures that the decoder discards (or empty packets) are not frames.
TEST(BlockLayout, packetsWithoutPictureAreNotCounted) {
    PacketList packets = packetsOf(6, {0, 3});
    BlockLayout layout = layOutBlocks(packets, orderOf({0, -1, 1, 2, 3, 4}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 2, 5}));
    EXPECT_EQ(layout.plans[0].lastPacket, 2);
}

// A clip cut without re-encoding keeps the packets from the keyframe before the cut, which the
// decoder is to discard: the pictures shown first are decoded from that keyframe.
TEST(BlockLayout, picturesBeforeTheFirstKeyframeOfACutClipAreDecodedFromTheDiscardedOne) {
    // File order I- P- P0 P1 I2 P3: the first two pictures are discarded.
    PacketList packets = packetsOf(6, {0, 4});
    BlockLayout layout = layOutBlocks(packets, orderOf({-1, -1, 0, 1, 2, 3}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(layout.plans[0].anchor, 0);
    EXPECT_EQ(layout.plans[0].lastPacket, 3);
    EXPECT_EQ(layout.plans[1].anchor, 4);

    // Cut shorter than a group of pictures: no keyframe shows, the whole clip is one block.
    layout = layOutBlocks(packetsOf(4, {0}), orderOf({-1, 0, 1, 2}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 3}));
    EXPECT_EQ(layout.plans[0].anchor, 0);

    // The first pictures are stored after the first keyframe shown (B-pictures referring to the
    // discarded ones): still decoded from the discarded keyframe, not from the later one.
    // File order I- P- I2 B0 B1 P3.
    layout = layOutBlocks(packetsOf(6, {0, 2}), orderOf({-1, -1, 2, 0, 1, 3}));
    EXPECT_EQ(layout.blockStarts, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(layout.plans[0].anchor, 0);
    EXPECT_EQ(layout.plans[0].lastPacket, 4);
    EXPECT_EQ(layout.plans[1].anchor, 2);
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
