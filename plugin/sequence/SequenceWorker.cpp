#include "cache/CacheBudget.h"
#include "sequence/SequenceCache.h"

#include <cstdlib>
#include <cstring>

namespace video {

std::optional<Urgency> SequenceCache::nextWork() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!running_) {
        return std::nullopt;
    }
    if (scanDue()) {
        return Urgency{Urgency::kAhead, 0};
    }
    const std::optional<int> frame = nextFrame();
    if (!frame) {
        return std::nullopt;
    }
    if (*frame == rule_.wantedFrame) {
        return Urgency{Urgency::kAwaited, 0};
    }
    const long long offset = static_cast<long long>(*frame) - rule_.wantedFrame;
    // Frames behind the direction of play are wanted later than those ahead.
    const bool behind = (rule_.direction == PlayDirection::kForward && offset < 0) ||
                        (rule_.direction == PlayDirection::kBackward && offset > 0);
    return Urgency{Urgency::kAhead, std::llabs(offset) * (behind ? 2 : 1)};
}

// Pool threads decode with FFmpeg only: Maya's API, its image reader included, is
// single-threaded.
void SequenceCache::runWork() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!running_) {
        return;
    }
    if (scanDue()) {
        scanning_ = true;
        scanFolder(lock);
        scanning_ = false;
    } else if (const std::optional<int> frame = nextFrame()) {
        readFrame(lock, *frame, FrameReader::kFfmpeg);
    }
}

std::optional<int> SequenceCache::nextFrame() const {
    if (!open_ || !asked_) {
        return std::nullopt;
    }
    // After a jump, the frame jumped to is read alone: reading its neighbours meanwhile would
    // share the cores with it. Playing, the next frames are read at once.
    if (rule_.direction == PlayDirection::kNone && !wantedSettled() &&
        reading_.count(rule_.wantedFrame) != 0) {
        return std::nullopt;
    }
    for (int frame : readingOrder(rule_.window, rule_.wantedFrame, rule_.direction)) {
        if (frames_.count(frame) != 0 || reading_.count(frame) != 0) {
            continue;
        }
        const auto failure = failed_.find(frame);
        const bool failedForNow =
            failure != failed_.end() && (frame != rule_.wantedFrame || failure->second >= request_);
        if (!failedForNow) {
            return frame;
        }
    }
    return std::nullopt;
}

// Once the wanted frame is settled: the first time for a sequence, and again when a frame
// outside the files found is asked for (files may have come since).
bool SequenceCache::scanDue() const {
    if (!open_ || !asked_ || !pattern_.numbered() || scanning_) {
        return false;
    }
    const bool outside = !onDisk_ || !onDisk_->contains(rule_.wantedFrame);
    return wantedSettled() &&
           (scannedGeneration_ != generation_ || (outside && scannedWanted_ != rule_.wantedFrame));
}

bool SequenceCache::wantedSettled() const {
    const auto failure = failed_.find(rule_.wantedFrame);
    return frames_.count(rule_.wantedFrame) != 0 ||
           (failure != failed_.end() && failure->second >= request_);
}

void SequenceCache::scanFolder(std::unique_lock<std::mutex>& lock) {
    const SequencePattern pattern = pattern_;
    const long generation = generation_;
    const int wanted = rule_.wantedFrame;
    lock.unlock();
    const std::optional<FrameWindow> onDisk = pattern.framesOnDisk();
    lock.lock();
    if (generation != generation_) {
        return;
    }
    onDisk_ = onDisk;
    scannedGeneration_ = generation;
    scannedWanted_ = wanted;
    moveWindow();
}

void SequenceCache::readFrame(std::unique_lock<std::mutex>& lock, int frame, FrameReader reader) {
    const long generation = generation_;
    const long request = request_;
    const std::string file = pattern_.fileOf(frame);
    const bool wanted = frame == rule_.wantedFrame;
    const bool onScreen = rule_.neededOnScreen(frame);
    const size_t expected = expectedBytes_;
    const decode::CacheDepth depth = depth_;
    CacheBudget& budget = CacheBudget::instance();
    reading_.insert(frame);
    lock.unlock();
    // Room is made before the read, for a frame the size of the last one, so that a frame the
    // budget has no room for is not read at all. The frame on screen is read and kept in any
    // case: the budget makes room for it from frames not shown, and passes its limit without.
    const CacheBudget::Need need = onScreen ? CacheBudget::Need::kShown : CacheBudget::Need::kAhead;
    FrameReservation reservation;
    if (expected > 0) {
        reservation = budget.reserve(*this, expected, need);
    }
    bool room = expected == 0 || reservation;
    std::optional<FrameFile> opened;
    if (room || wanted) {
        opened = openFrameFile(file);
    }
    // Once the frame's size is known, room is made for it if it differs from the last one's.
    const RoomFor roomFor = [&](size_t bytes) -> std::optional<FrameReservation> {
        if (bytes != expected) {
            // Given back first, so that the budget counts it no more when it makes room again.
            reservation = {};
            reservation = budget.reserve(*this, bytes, need);
            room = static_cast<bool>(reservation);
        }
        if (!room && !wanted) {
            return std::nullopt;
        }
        return std::move(reservation);
    };
    std::optional<Held> read;
    if (opened) {
        const FileStamp stamp = opened->stamp;
        // FFmpeg reads the very descriptor whose stamp is kept; the host's reader takes a path
        // only.
        read = reader == FrameReader::kFfmpeg
                   ? readWithFfmpeg(std::move(*opened), file, depth, roomFor)
                   : readWithHost(file, roomFor);
        if (read) {
            read->stamp = stamp;
        }
    }
    const size_t bytes = read ? read->frame->bytes() : 0;
    lock.lock();
    reading_.erase(frame);
    chargeStillDecoders();
    if (generation != generation_) {
        // Read for a sequence closed meanwhile.
    } else if (!room && !wanted) {
        rule_.narrowPast(frame);
    } else if (!read) {
        failed_[frame] = request;
    } else {
        expectedBytes_ = bytes;
        if (rule_.window.contains(frame) && frames_.count(frame) == 0) {
            frames_[frame] = std::move(*read);
        }
    }
    // The other readers wait for the frame asked for after a jump.
    const bool wantedNow = frame == rule_.wantedFrame;
    const bool late = lateFrame_ == frame && generation == generation_;
    if (late) {
        lateFrame_.reset();
    }
    lock.unlock();
    reservation = {};
    frameSettled_.notify_all();
    if (wantedNow) {
        wakePool();
    }
    if (late) {
        lateFrameDone_();
    }
    lock.lock();
}

bool SequenceCache::giveUpFarthest() {
    if (buffers_->giveUpSpares()) {
        return true;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    auto farthestHeld = frames_.end();
    const std::optional<int> farthest = rule_.farthest([this, &farthestHeld](const auto& offer) {
        for (auto held = frames_.begin(); held != frames_.end(); ++held) {
            if (offer(held->first)) {
                farthestHeld = held;
            }
        }
    });
    if (!farthest) {
        return false;
    }
    rule_.narrowPast(*farthest);
    farthestHeld->second.frame->discard();
    frames_.erase(farthestHeld);
    return true;
}

std::optional<SequenceCache::Held> SequenceCache::readWithFfmpeg(FrameFile file,
                                                                 const std::string& path,
                                                                 decode::CacheDepth depth,
                                                                 const RoomFor& roomFor) {
    const std::optional<SequenceImage> image =
        SequenceImage::read(std::move(file), path, depth, &stillDecoders_);
    std::optional<FrameReservation> charge = image ? roomFor(image->bytes()) : std::nullopt;
    if (!charge) {
        return std::nullopt;
    }
    std::shared_ptr<CachedFrame> buffer =
        CachedFrame::make(buffers_, image->bytes(), std::move(*charge));
    if (!buffer || !image->writeTo(buffer->pixels())) {
        return std::nullopt;
    }
    return Held{std::move(buffer), image->width(), image->height(), image->format(), {}};
}

std::optional<SequenceCache::Held> SequenceCache::readWithHost(const std::string& path,
                                                               const RoomFor& roomFor) {
    decode::RgbaImage image;
    std::optional<FrameReservation> charge =
        hostRead_(path, image) ? roomFor(image.bytes()) : std::nullopt;
    if (!charge) {
        return std::nullopt;
    }
    std::shared_ptr<CachedFrame> buffer =
        CachedFrame::make(buffers_, image.bytes(), std::move(*charge));
    if (!buffer) {
        return std::nullopt;
    }
    std::memcpy(buffer->pixels(), image.pixels.data(), image.bytes());
    return Held{std::move(buffer), image.width, image.height, image.format, {}};
}

}  // namespace video
