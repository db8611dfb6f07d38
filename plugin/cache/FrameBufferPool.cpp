#include "cache/FrameBufferPool.h"

#include "cache/CacheBudget.h"

#include <cstdlib>

FrameBufferPool::~FrameBufferPool() {
    freeSpares();
    freeBuffers(takeRetired());
}

std::vector<unsigned char*> FrameBufferPool::takeRetired() {
    std::vector<unsigned char*> retired;
    retired.swap(retired_);
    return retired;
}

void FrameBufferPool::retire(unsigned char* buffer) {
    if (buffer) {
        retired_.push_back(buffer);
    }
}

void freeBuffers(std::vector<unsigned char*> buffers) {
    for (unsigned char* buffer : buffers) {
        std::free(buffer);
    }
}

unsigned char* FrameBufferPool::take(size_t bytes) {
    if (bytes != spareBytes_) {
        freeSpares();
        spareBytes_ = bytes;
    }
    if (spares_.empty()) {
        return nullptr;
    }
    unsigned char* buffer = spares_.back();
    spares_.pop_back();
    lastTaken_ = buffer;
    return buffer;
}

void FrameBufferPool::giveBack(unsigned char* buffer) {
    if (buffer && buffer == lastTaken_) {
        spares_.push_back(buffer);
    } else {
        retire(buffer);
    }
    lastTaken_ = nullptr;
}

void FrameBufferPool::stored(unsigned char* buffer, size_t bytes) {
    if (buffer != lastTaken_) {
        video::CacheBudget::instance().charge(account_, video::Spend::kFrames, bytes);
    }
    lastTaken_ = nullptr;
    storedBytes_[buffer] = bytes;
}

void FrameBufferPool::release(unsigned char* buffer) {
    if (!buffer) {
        return;
    }
    auto found = storedBytes_.find(buffer);
    const bool reusable = found != storedBytes_.end() && found->second == spareBytes_;
    const size_t bytes = found != storedBytes_.end() ? found->second : 0;
    if (found != storedBytes_.end()) {
        storedBytes_.erase(found);
    }
    if (reusable && storedBytes_.size() + spares_.size() < limit_) {
        spares_.push_back(buffer);
    } else {
        retire(buffer);
        refund(bytes);
    }
}

void FrameBufferPool::discard(unsigned char* buffer) {
    if (!buffer) {
        return;
    }
    auto found = storedBytes_.find(buffer);
    if (found != storedBytes_.end()) {
        refund(found->second);
        storedBytes_.erase(found);
    }
    retire(buffer);
}

void FrameBufferPool::setLimit(size_t buffers) {
    limit_ = buffers;
    while (!spares_.empty() && storedBytes_.size() + spares_.size() > limit_) {
        retire(spares_.back());
        spares_.pop_back();
        refund(spareBytes_);
    }
}

void FrameBufferPool::clear() {
    freeSpares();
    for (const auto& entry : storedBytes_) {
        refund(entry.second);
    }
    storedBytes_.clear();
}

void FrameBufferPool::refund(size_t bytes) {
    video::CacheBudget::instance().refund(account_, video::Spend::kFrames, bytes);
}

void FrameBufferPool::freeSpares() {
    for (unsigned char* spare : spares_) {
        retire(spare);
    }
    refund(spares_.size() * spareBytes_);
    spares_.clear();
}
