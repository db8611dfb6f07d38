#include "cache/BlockDecoder.h"

#include "cache/PacketRangeDecoder.h"

#include <algorithm>
#include <vector>

namespace video {

BlockDecoder::BlockDecoder(const VideoSource& source)
    : source_(source), converter_(source.width(), source.height()) {}

int BlockDecoder::decodeBlock(int block, const PictureSink& sink, const StopCheck& stopRequested,
                              const std::vector<bool>& wanted) {
    if (!source_.isOpen() || block < 0 || block >= source_.blockCount()) {
        return 0;
    }
    const BlockPlan& plan = source_.plan(block);
    const int first = source_.blockStarts()[block];
    const int count = source_.blockStarts()[block + 1] - first;
    if (plan.anchor < 0 || count <= 0) {
        return 0;
    }
    const std::vector<int>& frameOfPacket = source_.order().ofPacket;
    auto stampOf = [&frameOfPacket](int index) -> int64_t {
        return frameOfPacket[index] >= 0 ? frameOfPacket[index] : AV_NOPTS_VALUE;
    };
    // Slots already done or not wanted count as filled from the start.
    std::vector<bool> filled(count, false);
    int needed = count;
    if (!wanted.empty()) {
        for (int slot = 0; slot < count; ++slot) {
            filled[slot] = slot >= static_cast<int>(wanted.size()) || !wanted[slot];
        }
        needed = static_cast<int>(std::count(filled.begin(), filled.end(), false));
    }
    if (needed == 0) {
        return 0;
    }
    int stored = 0;
    auto onFrame = [&](const AVFrame& frame) {
        if (stopRequested && stopRequested()) {
            return false;
        }
        int64_t slot = frame.pts == AV_NOPTS_VALUE ? -1 : frame.pts - first;
        RgbPicture picture;
        if (slot >= 0 && slot < count && !filled[slot] && converter_.convert(frame, picture)) {
            sink(static_cast<int>(slot), picture);
            filled[slot] = true;
            ++stored;
        }
        return stored < needed;
    };
    decodePacketRange(source_.input(), source_.decoder(), source_.streamIndex(), source_.packets(),
                      {plan.anchor, plan.lastPacket}, stampOf, onFrame);
    return stored;
}

}  // namespace video
