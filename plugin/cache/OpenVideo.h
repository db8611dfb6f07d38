#pragma once

#include "cache/BudgetAccount.h"
#include "cache/DecodingPool.h"
#include "decode/BlockDecoder.h"
#include "decode/DecoderLane.h"
#include "decode/VideoSource.h"
#include "picture/RgbaImage.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A cache's open file: its demuxer and decoder, its seat among the pool's decoders, the extra
// decoders of intra-only footage, and what they are charged to the budget. Its lock is held by
// the worker for a whole open or pass and by the drawing thread whenever it changes the file or
// how frames are kept, so the store is only ever emptied while no block is being decoded; it is
// taken before the store's. Everything but the locking and the interrupt is for the holder of
// the lock.
class OpenVideo {
public:
    // The decoders are charged to `account`.
    OpenVideo(video::DecodingPool& pool, video::BudgetAccount& account);
    OpenVideo(const OpenVideo&) = delete;
    OpenVideo& operator=(const OpenVideo&) = delete;

    // Waits for the pass or open under way to end.
    std::unique_lock<std::mutex> lock();
    // Likewise, first asking it to stop: the pass stops at its next frame, an open at its next
    // read of the file.
    std::unique_lock<std::mutex> interruptAndLock();
    bool interrupted() const { return interrupt_; }
    // Asks every pass and open to stop, for good.
    void stopForGood() { interrupt_.store(true); }

    // Opens the file at `path`, listing its frames; false when it cannot be played (or the read
    // was interrupted).
    bool start(const std::string& path);
    // Closes what a start left half read.
    void abandon();
    // Closes the file and every decoder.
    void close();
    video::VideoSource& source() { return source_; }
    const video::VideoSource& source() const { return source_; }
    // Decodes the file's blocks into cache images; its converters live as long as the file.
    video::BlockDecoder& blocks() { return blocks_; }

    // Charges the decoder's estimate to the budget for frames kept in `format`, making room for
    // it first; the store's lock not held.
    void charge(decode::TexelFormat format);
    // The decoder closed while no frame was asked for, keeping the file and its packets; read
    // without the lock.
    bool released() const { return released_; }
    void release();
    // Opens the decoder closed for idleness again before a pass; false when the file can no
    // longer be played as it was.
    bool reopen(decode::TexelFormat format);
    // The decoders of intra-only footage, one per pool thread, opened on first need; the source's
    // own decoder alone otherwise, or when fewer than two could be opened.
    std::vector<video::BlockDecoder*> laneDecoders(decode::TexelFormat format);

private:
    video::DecodingPool& pool_;
    video::BudgetAccount& account_;
    std::mutex mutex_;
    // Set by the drawing thread while it waits for the lock, and for good when the worker is to
    // stop.
    std::atomic<bool> interrupt_{false};
    video::VideoSource source_;
    video::BlockDecoder blocks_{source_};
    std::string path_;
    std::optional<video::DecoderSeat> seat_;
    video::BudgetCharge charge_;
    std::vector<std::unique_ptr<video::DecoderLane>> lanes_;
    video::BudgetCharge laneCharge_;
    bool lanesTried_ = false;
    // Set and cleared holding the lock.
    std::atomic<bool> released_{false};
};
