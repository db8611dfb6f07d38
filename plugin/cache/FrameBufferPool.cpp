#include "cache/FrameBufferPool.h"

#include "cache/ProcessSpares.h"
#include "picture/FrameMemory.h"

#include <atomic>
#include <utility>

namespace {

std::atomic<long> allocationCount{0};

// Hands the buffers to the process, once the caller's lock is let go of.
void handToProcess(std::vector<FrameBuffer>& buffers) {
    video::ProcessSpares& process = video::ProcessSpares::instance();
    for (FrameBuffer& buffer : buffers) {
        process.keep(std::move(buffer));
    }
    buffers.clear();
}

}  // namespace

FrameBuffer FrameBuffer::allocate(video::BudgetAccount* account, size_t bytes,
                                  video::FrameReservation& reservation) {
    FrameBuffer buffer;
    buffer.memory_.reset(video::allocateFrameBuffer(bytes));
    if (buffer.memory_) {
        ++allocationCount;
        buffer.bytes_ = bytes;
        buffer.charge_ = reservation.takeFor(account, bytes);
        if (buffer.charge_.bytes() == 0) {
            buffer.charge_ = video::BudgetCharge(account, video::Spend::kFrames, bytes);
        }
    }
    return buffer;
}

void FrameBuffer::chargeTo(video::BudgetAccount* account, video::FrameReservation& reservation) {
    video::BudgetCharge reserved = reservation.takeFor(account, bytes_);
    if (reserved.bytes() > 0) {
        // Counted already: the buffer's former charge is refunded after it.
        charge_ = std::move(reserved);
    } else {
        charge_.moveTo(account, video::Spend::kFrames);
    }
}

long FrameBuffer::allocations() {
    return allocationCount;
}

FrameBufferPool::~FrameBufferPool() {
    handToProcess(spares_);
}

FrameBuffer FrameBufferPool::take(size_t bytes, video::FrameReservation reservation) {
    std::vector<FrameBuffer> former;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (bytes != spareBytes_) {
            former.swap(spares_);
            spareBytes_ = bytes;
        }
        if (!spares_.empty()) {
            FrameBuffer spare = std::move(spares_.back());
            spares_.pop_back();
            ++handedOut_;
            return spare;
        }
    }
    handToProcess(former);
    FrameBuffer buffer = video::ProcessSpares::instance().take(bytes, account_, reservation);
    if (!buffer) {
        buffer = FrameBuffer::allocate(account_, bytes, reservation);
    }
    if (buffer) {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++handedOut_;
    }
    return buffer;
}

// A buffer given up for room stays with the parameter, which is destroyed (freed and refunded)
// once the lock is let go of.
void FrameBufferPool::giveBack(FrameBuffer buffer, bool reusable) {
    if (!buffer) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (handedOut_ > 0) {
            --handedOut_;
        }
        if (!reusable) {
            return;
        }
        if (buffer.bytes() == spareBytes_ && handedOut_ + spares_.size() < limit_) {
            spares_.push_back(std::move(buffer));
            return;
        }
    }
    video::ProcessSpares::instance().keep(std::move(buffer));
}

void FrameBufferPool::setLimit(size_t buffers) {
    std::vector<FrameBuffer> beyond;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        limit_ = buffers;
        while (!spares_.empty() && handedOut_ + spares_.size() > limit_) {
            beyond.push_back(std::move(spares_.back()));
            spares_.pop_back();
        }
    }
    handToProcess(beyond);
}

void FrameBufferPool::dropSpares() {
    std::vector<FrameBuffer> dropped;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(spares_);
        spareBytes_ = 0;
    }
    handToProcess(dropped);
}

void FrameBufferPool::freeSpares() {
    std::vector<FrameBuffer> freed;
    const std::lock_guard<std::mutex> lock(mutex_);
    freed.swap(spares_);
}

bool FrameBufferPool::giveUpSpares() {
    std::vector<FrameBuffer> freed;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (spares_.empty()) {
        return false;
    }
    freed.swap(spares_);
    limit_ = 0;
    return true;
}

size_t FrameBufferPool::spareCount() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return spares_.size();
}
