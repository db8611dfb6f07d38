#include "decode/BlockDecoder.h"

#include "decode/BlockOfFrame.h"
#include "decode/PacketRangeDecoder.h"

#include <algorithm>
#include <vector>

namespace video {

BlockDecoder::BlockDecoder(const VideoSource& source) : source_(source) {}

BlockDecoder::BlockDecoder(const VideoSource& source, AVFormatContext* input,
                           AVCodecContext* decoder)
    : source_(source), input_(input), decoder_(decoder) {}

void BlockDecoder::reset() {
    writer_.reset();
}

CacheImageWriter& BlockDecoder::writer() {
    if (!writer_ || !writer_->isFor(source_.width(), source_.height(), source_.orientation())) {
        writer_ = std::make_unique<CacheImageWriter>(source_.width(), source_.height(),
                                                     source_.orientation());
    }
    return *writer_;
}

int BlockDecoder::decodeBlocks(int firstBlock, int lastBlock, const PictureSink& sink,
                               const StopCheck& stopRequested, const WantedSlot& wanted) {
    endedEarlyAt_ = -1;
    if (!source_.isOpen() || firstBlock < 0 || lastBlock < firstBlock ||
        lastBlock >= source_.blockCount() || source_.plan(firstBlock).anchor < 0) {
        return 0;
    }
    const std::vector<int>& starts = source_.blockStarts();
    const int firstFrame = starts[firstBlock];
    const int endFrame = starts[lastBlock + 1];
    // Frames already done or not wanted count as filled from the start.
    std::vector<bool> filled(static_cast<size_t>(endFrame - firstFrame), false);
    int needed = 0;
    int lastPacket = -1;
    for (int block = firstBlock; block <= lastBlock; ++block) {
        for (int frame = starts[block]; frame < starts[block + 1]; ++frame) {
            const bool handOver = !wanted || wanted(block, frame - starts[block]);
            filled[static_cast<size_t>(frame - firstFrame)] = !handOver;
            needed += handOver ? 1 : 0;
        }
        lastPacket = std::max(lastPacket, source_.plan(block).lastPacket);
    }
    if (needed == 0) {
        return 0;
    }
    const std::vector<int>& frameOfPacket = source_.order().ofPacket;
    auto stampOf = [&frameOfPacket](int index) -> int64_t {
        return frameOfPacket[index] >= 0 ? frameOfPacket[index] : AV_NOPTS_VALUE;
    };
    CacheImageWriter& images = writer();
    int stored = 0;
    bool stopped = false;
    auto onFrame = [&](const AVFrame& frame) {
        const bool inRun =
            frame.pts != AV_NOPTS_VALUE && frame.pts >= firstFrame && frame.pts < endFrame;
        int block = -1;
        if (inRun) {
            block = blockOfFrame(starts, starts.size(), static_cast<int>(frame.pts));
        }
        if (stopRequested && stopRequested(block)) {
            stopped = true;
            return false;
        }
        if (inRun && !filled[static_cast<size_t>(frame.pts - firstFrame)]) {
            filled[static_cast<size_t>(frame.pts - firstFrame)] = true;
            sink(block, static_cast<int>(frame.pts - starts[block]), CachePicture(images, frame));
            ++stored;
        }
        return stored < needed;
    };
    bool inputEnded = false;
    decodePacketRange(input_ ? input_ : source_.input(), decoder_ ? decoder_ : source_.decoder(),
                      source_.streamIndex(), source_.packets(),
                      {source_.plan(firstBlock).anchor, lastPacket}, stampOf, onFrame, &inputEnded);
    // The last listed packet of a file cut short may itself be cut: its pictures never come.
    const bool reachesCut = source_.framesDeclared() > 0 && source_.listingComplete() &&
                            lastBlock == source_.blockCount() - 1;
    if ((inputEnded || reachesCut) && !stopped) {
        const auto missing = std::find(filled.begin(), filled.end(), false);
        if (missing != filled.end()) {
            endedEarlyAt_ = firstFrame + static_cast<int>(missing - filled.begin());
        }
    }
    return stored;
}

}  // namespace video
