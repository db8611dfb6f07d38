#pragma once

#include "decode/PacketRecord.h"
#include "decode/PresentationOrder.h"

#include <vector>

namespace video {

// How one block is decoded: from keyframe packet `anchor` up to packet `lastPacket`, the last in
// file order that holds a picture of the block. With open GOPs that is past the next keyframe.
struct BlockPlan {
    int anchor = -1;
    int lastPacket = -1;
};

// Blocks start at keyframes, in presentation order: `blockStarts` holds the first frame number of
// each block and, last, the frame count. A keyframe on the last frame starts no block of its own
// unless it is the only one. Frames before the first keyframe's frame belong to no block, unless
// a keyframe whose picture is discarded comes before them in the file: then they are the first
// block, decoded from that keyframe.
struct BlockLayout {
    std::vector<int> blockStarts;
    std::vector<BlockPlan> plans;  // one per block
};

BlockLayout layOutBlocks(const PacketList& packets, const PresentationOrder& order);

// The blocks of a list still being read that are as the whole list will have them: frames 0 to
// `numbered` − 1 have their final numbers (−1 in `frameOfPacket` for pictures still unnumbered),
// and a block is kept when the keyframe that ends it is numbered, with a numbered frame after
// it (a keyframe on the last frame would start no block). `blockStarts` ends with the first
// frame after the kept blocks; it is [0] when none is kept.
BlockLayout layOutSettledBlocks(const PacketList& packets, const std::vector<int>& frameOfPacket,
                                int numbered);

}  // namespace video
