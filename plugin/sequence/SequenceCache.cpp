#include "sequence/SequenceCache.h"

#include "cache/CacheBudget.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>

namespace video {

SequenceCache::SequenceCache(std::function<void()> lateFrameDone, HostImageRead hostRead,
                             DecodingPool& pool)
    : stillDecoders_(pool.threadCount()),
      lateFrameDone_(std::move(lateFrameDone)),
      hostRead_(std::move(hostRead)),
      pool_(pool) {
    CacheBudget::instance().enrol(this);
}

SequenceCache::~SequenceCache() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
    }
    frameSettled_.notify_all();
    if (enrolled_) {
        pool_.leave(this);
    }
    CacheBudget::instance().leave(this);
    const std::lock_guard<std::mutex> lock(mutex_);
    dropAll();
}

void SequenceCache::wakePool() {
    if (enrolled_) {
        pool_.wake();
    }
}

void SequenceCache::open(const std::string& pattern) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (open_ && pattern_.text() == pattern) {
            return;
        }
        dropAll();
        pattern_ = SequencePattern(pattern);
        open_ = true;
        ++generation_;
        running_ = true;
    }
    closeStillDecoders();
    if (!enrolled_) {
        pool_.enrol(this);
        enrolled_ = true;
    }
    wakePool();
}

bool SequenceCache::isOpen(const std::string& pattern) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return open_ && pattern_.text() == pattern;
}

void SequenceCache::setWindow(int frames) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (frames == windowFrames_) {
            return;
        }
        windowFrames_ = frames;
        if (asked_) {
            moveWindow();
        }
    }
    wakePool();
}

void SequenceCache::setDepth(decode::CacheDepth depth) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (depth == depth_) {
            return;
        }
        depth_ = depth;
        while (!frames_.empty()) {
            drop(frames_.begin());
        }
        failed_.clear();
        expectedBytes_ = 0;
        // A read under way at the former depth is not stored.
        ++generation_;
    }
    wakePool();
}

void SequenceCache::close() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) {
            return;
        }
        dropAll();
        pattern_ = SequencePattern();
        open_ = false;
        ++generation_;
    }
    closeStillDecoders();
    wakePool();
}

void SequenceCache::chargeStillDecoders() {
    const size_t bytes = stillDecoders_.bytes();
    if (bytes != stillDecodersCharge_.bytes()) {
        stillDecodersCharge_ = BudgetCharge(&account(), Spend::kDecoder, bytes);
    }
}

void SequenceCache::closeStillDecoders() {
    stillDecoders_.clear();
    const std::lock_guard<std::mutex> lock(mutex_);
    chargeStillDecoders();
}

size_t SequenceCache::framesHeld() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return frames_.size();
}

SequenceAnswer SequenceCache::show(int frameAsked, bool checkFile,
                                   const std::function<bool(SequenceFrame)>& show,
                                   Deadline deadline) {
    // A still is the same picture at every frame: held as one frame, it is read once, and again
    // only when its file changes.
    const int frame = pattern_.numbered() ? frameAsked : 0;
    // Only this thread changes the pattern, so it is read without the lock, and the file looked
    // at before taking it.
    const std::optional<FileStamp> stamp =
        checkFile ? currentFileStamp(pattern_.fileOf(frame)) : std::nullopt;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!open_) {
        return SequenceAnswer::kNotInTime;
    }
    const long request = ++request_;
    rule_.ask(frame, !asked_);
    asked_ = true;
    failed_.erase(frame);
    auto held = frames_.find(frame);
    if (checkFile && held != frames_.end() && (!stamp || *stamp != held->second.stamp)) {
        drop(held);
    }
    lateFrame_.reset();
    moveWindow();
    // The pool asks for work under its own lock, then takes this one.
    lock.unlock();
    wakePool();
    lock.lock();

    bool hostReaderTried = false;
    for (;;) {
        held = frames_.find(frame);
        if (held != frames_.end()) {
            const Held found = held->second;
            lock.unlock();
            return show(SequenceFrame{found.frame->pixels(), found.width, found.height,
                                      found.format})
                       ? SequenceAnswer::kShown
                       : SequenceAnswer::kNotShown;
        }
        const auto failure = failed_.find(frame);
        if (failure != failed_.end() && failure->second >= request) {
            if (hostReaderTried) {
                return SequenceAnswer::kUnreadable;
            }
            // What FFmpeg could not read may be a format only the host knows.
            hostReaderTried = true;
            failed_.erase(failure);
            readFrame(lock, frame, FrameReader::kHost);
            continue;
        }
        if (!running_ || !pool_.running()) {
            return SequenceAnswer::kNotInTime;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            lateFrame_ = frame;
            return SequenceAnswer::kNotInTime;
        }
        frameSettled_.wait_until(lock, deadline);
    }
}

HeldFrame SequenceCache::nearestHeld(int frame) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto after = frames_.lower_bound(frame);
    auto nearest = after;
    if (after == frames_.end() ||
        (after != frames_.begin() && frame - std::prev(after)->first <= after->first - frame)) {
        nearest = after == frames_.begin() ? frames_.end() : std::prev(after);
    }
    if (nearest == frames_.end()) {
        return HeldFrame{};
    }
    const Held& held = nearest->second;
    return HeldFrame{nearest->first, held.frame, held.width, held.height, held.format};
}

void SequenceCache::moveWindow() {
    rule_.window = pattern_.numbered() ? sequenceWindow(rule_.wantedFrame, windowFrames_, onDisk_)
                                       : FrameWindow{rule_.wantedFrame, rule_.wantedFrame};
    for (auto held = frames_.begin(); held != frames_.end();) {
        const auto next = std::next(held);
        if (!rule_.window.contains(held->first)) {
            drop(held);
        }
        held = next;
    }
    for (auto failure = failed_.begin(); failure != failed_.end();) {
        failure =
            rule_.window.contains(failure->first) ? std::next(failure) : failed_.erase(failure);
    }
    buffers_->setLimit(static_cast<size_t>(rule_.window.length()));
}

void SequenceCache::drop(std::map<int, Held>::iterator held) {
    frames_.erase(held);
}

void SequenceCache::dropAll() {
    frames_.clear();
    buffers_->dropSpares();
    failed_.clear();
    onDisk_.reset();
    expectedBytes_ = 0;
    asked_ = false;
    rule_.direction = PlayDirection::kNone;
    rule_.window = FrameWindow{};
    lateFrame_.reset();
}

}  // namespace video
