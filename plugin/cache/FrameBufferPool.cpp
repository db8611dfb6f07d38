#include "cache/FrameBufferPool.h"

#include "picture/FrameMemory.h"

#include <utility>

FrameBuffer FrameBuffer::allocate(video::BudgetAccount* account, size_t bytes) {
    FrameBuffer buffer;
    buffer.memory_.reset(video::allocateFrameBuffer(bytes));
    if (buffer.memory_) {
        buffer.charge_ = video::BudgetCharge(account, video::Spend::kFrames, bytes);
    }
    return buffer;
}

FrameBuffer FrameBufferPool::take(size_t bytes) {
    // Spares of a former size; freed once the lock is let go of.
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
    FrameBuffer fresh = FrameBuffer::allocate(account_, bytes);
    if (fresh) {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++handedOut_;
    }
    return fresh;
}

// A buffer not kept stays with the parameter, which is destroyed (freed and refunded) once
// the lock is let go of.
void FrameBufferPool::giveBack(FrameBuffer buffer, bool reusable) {
    if (!buffer) {
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (handedOut_ > 0) {
        --handedOut_;
    }
    if (reusable && buffer.bytes() == spareBytes_ && handedOut_ + spares_.size() < limit_) {
        spares_.push_back(std::move(buffer));
    }
}

void FrameBufferPool::setLimit(size_t buffers) {
    std::vector<FrameBuffer> beyond;
    const std::lock_guard<std::mutex> lock(mutex_);
    limit_ = buffers;
    while (!spares_.empty() && handedOut_ + spares_.size() > limit_) {
        beyond.push_back(std::move(spares_.back()));
        spares_.pop_back();
    }
}

void FrameBufferPool::dropSpares() {
    std::vector<FrameBuffer> dropped;
    const std::lock_guard<std::mutex> lock(mutex_);
    dropped.swap(spares_);
    spareBytes_ = 0;
}

size_t FrameBufferPool::spareCount() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return spares_.size();
}
