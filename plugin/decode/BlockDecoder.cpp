#include "decode/BlockDecoder.h"

#include "decode/BlockOfFrame.h"

#include <algorithm>
#include <vector>

namespace video {

BlockDecoder::BlockDecoder(const VideoSource& source) : source_(source) {}

BlockDecoder::BlockDecoder(const VideoSource& source, AVFormatContext* input,
                           AVCodecContext* decoder)
    : source_(source), input_(input), decoder_(decoder) {}

void BlockDecoder::reset() {
    writer_.reset();
    feed_.reset();
}

void BlockDecoder::shareConversionsWith(SpareThreads* threads) {
    spareThreads_ = threads;
    if (writer_) {
        writer_->shareWith(threads);
    }
}

CacheImageWriter& BlockDecoder::writer() {
    if (!writer_ || !writer_->isFor(source_.width(), source_.height(), source_.orientation())) {
        writer_ = std::make_unique<CacheImageWriter>(source_.width(), source_.height(),
                                                     source_.orientation());
        writer_->shareWith(spareThreads_);
    }
    return *writer_;
}

int BlockDecoder::decoderDelay() const {
    const AVCodecContext* codec = decoder();
    return std::max(codec->has_b_frames, 0) + std::max(codec->thread_count, 1);
}

bool BlockDecoder::carriesOn(int firstWanted, int wantedBlock) const {
    if (!feed_ || !feed_->canGoOn() || feedInput_ != input() || feedDecoder_ != decoder() ||
        feedGeneration_ != source_.generation() || firstWanted <= lastOut_) {
        return false;
    }
    // Carrying on decodes the packets from where the decoder stands, a seek those from the
    // wanted block's keyframe: a little short of that keyframe still goes on, as a seek costs
    // the frames the decoder holds back anyway.
    const int next = feed_->nextPacket();
    const int anchor = source_.plan(wantedBlock).anchor;
    return next >= anchor || anchor - next <= decoderDelay();
}

bool BlockDecoder::seekTo(int firstBlock) {
    ++seeks_;
    feed_ =
        std::make_unique<PacketFeed>(input(), decoder(), source_.streamIndex(), source_.packets());
    feedInput_ = input();
    feedDecoder_ = decoder();
    feedGeneration_ = source_.generation();
    // Pictures before the block's first frame may come out wrong after the seek.
    lastOut_ = source_.blockStarts()[static_cast<size_t>(firstBlock)] - 1;
    return feed_->seekTo(source_.plan(firstBlock).anchor);
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
    // Packets read on past the run may lie past those numbered so far while the scan goes on.
    auto stampOf = [&frameOfPacket](int index) -> int64_t {
        return static_cast<size_t>(index) < frameOfPacket.size() && frameOfPacket[index] >= 0
                   ? frameOfPacket[index]
                   : AV_NOPTS_VALUE;
    };
    // The first wanted frame not handed over yet: only ever moves on.
    size_t missingAt = 0;
    auto firstMissing = [&filled, &missingAt, firstFrame] {
        while (missingAt < filled.size() && filled[missingAt]) {
            ++missingAt;
        }
        return firstFrame + static_cast<int>(missingAt);
    };
    CacheImageWriter& images = writer();
    int stored = 0;
    bool stopped = false;
    bool carried = false;
    auto onFrame = [&](const AVFrame& frame) {
        const bool numbered = frame.pts != AV_NOPTS_VALUE;
        const bool inRun = numbered && frame.pts >= firstFrame && frame.pts < endFrame;
        int block = -1;
        if (inRun) {
            block = blockOfFrame(starts, starts.size(), static_cast<int>(frame.pts));
        }
        if (stopRequested && stopRequested(block)) {
            stopped = true;
            return PacketFeed::Take::kLater;
        }
        if (numbered) {
            lastOut_ = std::max(lastOut_, static_cast<int>(frame.pts));
        }
        // Pictures come out in presentation order: a carried-on run that is given a frame past
        // the first one it still wants will not be given that one.
        const bool passed = carried && numbered && frame.pts > firstMissing();
        if (inRun && !filled[static_cast<size_t>(frame.pts - firstFrame)]) {
            filled[static_cast<size_t>(frame.pts - firstFrame)] = true;
            sink(block, static_cast<int>(frame.pts - starts[block]), CachePicture(images, frame));
            ++stored;
        }
        return stored < needed && !passed ? PacketFeed::Take::kMore : PacketFeed::Take::kEnough;
    };
    auto feed = [&] {
        const long sentBefore = feed_->packetsSent();
        feed_->feed(lastPacket, decoderDelay(), stampOf, onFrame);
        packetsSent_ += feed_->packetsSent() - sentBefore;
    };
    const int firstWanted = firstMissing();
    carried = carriesOn(firstWanted, blockOfFrame(starts, starts.size(), firstWanted));
    if (carried) {
        feed();
    }
    // A carried-on run that missed a frame goes back to the keyframe: a frame is never lost.
    if (!carried || (!stopped && stored < needed)) {
        carried = false;
        if (seekTo(firstBlock)) {
            feed();
        }
    }
    const bool inputEnded = feed_->inputEnded();
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
