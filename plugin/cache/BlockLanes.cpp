#include "cache/CacheBudget.h"
#include "cache/DecoderFootprint.h"
#include "cache/VideoCache.h"

#include <algorithm>
#include <atomic>
#include <vector>

// Footage whose every frame is a keyframe: its blocks are decoded side by side, one
// single-threaded decoder per thread of the pool. The source's own decoder is left out, as its
// frame threads would fill and drain their pipeline at every short run.
std::vector<video::BlockDecoder*> VideoCache::laneDecoders() {
    if (!lanesTried_) {
        lanesTried_ = true;
        if (pool_.threadCount() > 1 && video::decodesBlocksApart(decoder.source)) {
            for (int lane = 0; lane < pool_.threadCount(); ++lane) {
                std::unique_ptr<video::DecoderLane> opened =
                    video::DecoderLane::open(openPath_, decoder.source);
                if (!opened) {
                    break;
                }
                opened->blocks().shareConversionsWith(&pool_);
                lanes_.push_back(std::move(opened));
            }
            const bool half = heldTexelFormat() == decode::TexelFormat::kRgbaHalf;
            size_t footprint = 0;
            for (const std::unique_ptr<video::DecoderLane>& lane : lanes_) {
                footprint += video::decoderFootprint(
                    lane->decoder(), !decoder.source.orientation().isAsStored(), half);
            }
            video::CacheBudget::instance().makeRoom(footprint);
            laneCharge_ = video::BudgetCharge(&account(), video::Spend::kDecoder, footprint);
        }
    }
    std::vector<video::BlockDecoder*> decoders;
    for (const std::unique_ptr<video::DecoderLane>& lane : lanes_) {
        decoders.push_back(&lane->blocks());
    }
    if (decoders.size() < 2) {
        decoders = {&decoder.blocks};
    }
    return decoders;
}

void VideoCache::decodeBlocksApart(int firstBlock, int lastBlock, const std::vector<bool>& wanted,
                                   bool& stopped) {
    // Short runs, so that the frames come out nearly in order, each run costing one seek.
    constexpr int kRunBlocks = 4;
    const std::vector<int>& starts = cache.blockStarts;
    const int firstFrame = starts[static_cast<unsigned int>(firstBlock)];
    const int endFrame = starts[static_cast<unsigned int>(lastBlock) + 1];
    std::atomic<int> nextRun{firstBlock};
    std::atomic<bool> stop{false};
    auto stopRequested = [&] {
        if (!stop && (!decoder.running || decoder.interrupt ||
                      newerJobWaitsElsewhere(firstFrame, endFrame - 1))) {
            stop = true;
        }
        return stop.load();
    };
    // Between runs, as between the blocks of one run: a request for a frame elsewhere, or more
    // urgent work of another cache, ends the pass.
    auto runMayBegin = [&] {
        const int waiting = newestJobFrame();
        if (waiting >= 0 && (waiting < firstFrame || waiting >= endFrame)) {
            stop = true;
        }
        return !stopRequested() && !(nextRun > firstBlock && yields());
    };
    auto sink = [this](int block, int slot, const video::CachePicture& picture) {
        storePicture(block, slot, picture);
    };
    auto wantedSlot = [&wanted, &starts, firstFrame](int block, int slot) {
        return wanted[static_cast<size_t>(starts[static_cast<unsigned int>(block)] + slot -
                                          firstFrame)];
    };
    std::vector<std::function<void()>> lanes;
    for (video::BlockDecoder* blocks : laneDecoders()) {
        lanes.emplace_back([&, blocks] {
            while (runMayBegin()) {
                const int first = nextRun.fetch_add(kRunBlocks);
                if (first > lastBlock) {
                    return;
                }
                blocks->decodeBlocks(
                    first, std::min(lastBlock, first + kRunBlocks - 1), sink,
                    [&stopRequested](int) { return stopRequested(); }, wantedSlot);
            }
        });
    }
    pool_.runTogether(lanes);
    stopped = stop || yielded_;
}
