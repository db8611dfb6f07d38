#include "cache/OpenVideo.h"

#include "cache/CacheBudget.h"
#include "cache/DecoderFootprint.h"
#include "decode/DecoderThreads.h"

#include <utility>

OpenVideo::OpenVideo(video::DecodingPool& pool, video::BudgetAccount& account)
    : pool_(pool), account_(account) {
    blocks_.shareConversionsWith(&pool_);
}

std::unique_lock<std::mutex> OpenVideo::lock() {
    return std::unique_lock<std::mutex>(mutex_);
}

std::unique_lock<std::mutex> OpenVideo::interruptAndLock() {
    interrupt_.store(true);
    std::unique_lock<std::mutex> lock(mutex_);
    interrupt_.store(false);
    return lock;
}

bool OpenVideo::start(const std::string& path) {
    seat_.emplace(pool_);
    bool opened = false;
    {
        const video::DecoderThreadsHere threads(seat_->ffmpegThreads());
        opened = source_.start(path, video::VideoSource::Listing::indexWhereComplete, &interrupt_);
    }
    path_ = path;
    if (!opened) {
        seat_.reset();
    }
    return opened;
}

void OpenVideo::abandon() {
    source_.close();
    seat_.reset();
}

void OpenVideo::close() {
    charge_.reset();
    lanes_.clear();
    laneCharge_.reset();
    lanesTried_ = false;
    source_.close();
    blocks_.reset();
    seat_.reset();
    released_ = false;
}

void OpenVideo::charge(decode::TexelFormat format) {
    const size_t footprint =
        video::decoderFootprint(source_.decoder(), !source_.orientation().isAsStored(),
                                format == decode::TexelFormat::kRgbaHalf);
    charge_.reset();
    video::CacheBudget::instance().makeRoom(footprint);
    charge_ = video::BudgetCharge(&account_, video::Spend::kDecoder, footprint);
}

void OpenVideo::release() {
    if (released_ || !source_.isOpen()) {
        return;
    }
    released_ = true;
    lanes_.clear();
    laneCharge_.reset();
    lanesTried_ = false;
    blocks_.reset();
    source_.releaseDecoder();
    charge_.reset();
    seat_.reset();
}

bool OpenVideo::reopen(decode::TexelFormat format) {
    seat_.emplace(pool_);
    bool opened = false;
    {
        const video::DecoderThreadsHere threads(seat_->ffmpegThreads());
        opened = source_.restoreDecoder();
    }
    if (!opened) {
        seat_.reset();
        return false;
    }
    charge(format);
    released_ = false;
    return true;
}

// Footage whose every frame is a keyframe: its blocks are decoded side by side, one
// single-threaded decoder per thread of the pool. The source's own decoder is left out, as its
// frame threads would fill and drain their pipeline at every short run.
std::vector<video::BlockDecoder*> OpenVideo::laneDecoders(decode::TexelFormat format) {
    if (!lanesTried_) {
        lanesTried_ = true;
        if (pool_.threadCount() > 1 && video::decodesBlocksApart(source_)) {
            for (int lane = 0; lane < pool_.threadCount(); ++lane) {
                std::unique_ptr<video::DecoderLane> opened =
                    video::DecoderLane::open(path_, source_);
                if (!opened) {
                    break;
                }
                opened->blocks().shareConversionsWith(&pool_);
                lanes_.push_back(std::move(opened));
            }
            const bool half = format == decode::TexelFormat::kRgbaHalf;
            size_t footprint = 0;
            for (const std::unique_ptr<video::DecoderLane>& lane : lanes_) {
                footprint += video::decoderFootprint(lane->decoder(),
                                                     !source_.orientation().isAsStored(), half);
            }
            video::CacheBudget::instance().makeRoom(footprint);
            laneCharge_ = video::BudgetCharge(&account_, video::Spend::kDecoder, footprint);
        }
    }
    std::vector<video::BlockDecoder*> decoders;
    for (const std::unique_ptr<video::DecoderLane>& lane : lanes_) {
        decoders.push_back(&lane->blocks());
    }
    if (decoders.size() < 2) {
        decoders = {&blocks_};
    }
    return decoders;
}
