#include "cache/BlockDecoder.h"

#include "cache/PacketRangeDecoder.h"
#include "cache/PictureTurn.h"

#include <algorithm>
#include <vector>

namespace video {

BlockDecoder::BlockDecoder(const VideoSource& source) : source_(source) {}

bool BlockDecoder::toRgb(const AVFrame& frame, RgbPicture& picture) {
    const Orientation& turn = source_.orientation();
    if (!turn.isAsStored() && turnsBeforeConversion(frame)) {
        if (!upright_) {
            upright_.reset(av_frame_alloc());
            uprightConverter_ =
                std::make_unique<RgbConverter>(source_.uprightWidth(), source_.uprightHeight());
        }
        return upright_ && turnUpright(frame, turn, *upright_) &&
               uprightConverter_->convert(*upright_, picture);
    }
    if (!storedConverter_) {
        storedConverter_ = std::make_unique<RgbConverter>(source_.width(), source_.height());
    }
    if (!storedConverter_->convert(frame, picture)) {
        return false;
    }
    picture.orientation = turn;
    return true;
}

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
        if (slot >= 0 && slot < count && !filled[slot] && toRgb(frame, picture)) {
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
