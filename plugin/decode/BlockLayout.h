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

}  // namespace video
