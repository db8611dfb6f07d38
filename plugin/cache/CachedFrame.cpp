#include "cache/CachedFrame.h"

#include <utility>

namespace video {

std::shared_ptr<CachedFrame> CachedFrame::make(const std::shared_ptr<FrameBufferPool>& pool,
                                               size_t bytes, FrameReservation reservation) {
    auto frame = std::make_shared<CachedFrame>(pool, bytes, std::move(reservation));
    return frame->pixels() ? frame : nullptr;
}

CachedFrame::CachedFrame(std::shared_ptr<FrameBufferPool> pool, size_t bytes,
                         FrameReservation reservation)
    : pool_(std::move(pool)), buffer_(pool_->take(bytes, std::move(reservation))) {}

CachedFrame::~CachedFrame() {
    pool_->giveBack(std::move(buffer_), reusable_);
}

}  // namespace video
