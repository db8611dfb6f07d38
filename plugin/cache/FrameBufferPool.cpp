#include "cache/FrameBufferPool.h"

#include <cstdlib>

FrameBufferPool::~FrameBufferPool() {
    freeSpares();
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
    return buffer;
}

void FrameBufferPool::stored(unsigned char* buffer, size_t bytes) {
    storedBytes_[buffer] = bytes;
}

void FrameBufferPool::release(unsigned char* buffer) {
    if (!buffer) {
        return;
    }
    auto found = storedBytes_.find(buffer);
    const bool reusable = found != storedBytes_.end() && found->second == spareBytes_;
    if (found != storedBytes_.end()) {
        storedBytes_.erase(found);
    }
    if (reusable && storedBytes_.size() + spares_.size() < limit_) {
        spares_.push_back(buffer);
    } else {
        std::free(buffer);
    }
}

void FrameBufferPool::setLimit(size_t buffers) {
    limit_ = buffers;
    while (!spares_.empty() && storedBytes_.size() + spares_.size() > limit_) {
        std::free(spares_.back());
        spares_.pop_back();
    }
}

void FrameBufferPool::clear() {
    freeSpares();
    storedBytes_.clear();
}

void FrameBufferPool::freeSpares() {
    for (unsigned char* spare : spares_) {
        std::free(spare);
    }
    spares_.clear();
}
