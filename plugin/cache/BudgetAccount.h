#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <utility>

namespace video {

class CacheBudget;

// What the memory counted in the budget is spent on.
enum class Spend {
    kFrames,   // cached frames (the one on screen among them) and the spare buffers kept for them
    kDecoder,  // an open decoder: its pictures in flight and references, its conversion picture
    kTexture,  // a texture and the gamma-corrected copy uploaded into it
    kSpares,   // frame buffers no cache keeps, held by the process for any cache to take
};
constexpr size_t kSpendKinds = 4;

// What one owner (a node's cache, a texture) has charged to the budget, kind by kind. Written
// by the budget alone; read by anyone.
class BudgetAccount {
public:
    size_t bytes(Spend spend) const { return bytes_[static_cast<size_t>(spend)]; }
    size_t total() const;

private:
    friend class CacheBudget;
    std::array<std::atomic<size_t>, kSpendKinds> bytes_{};
};

// A cache whose frames the budget may ask it to give up for frames of greater need, its own or
// another cache's. Each cache knows which of its frames it can spare.
class BudgetClient {
public:
    BudgetAccount& account() { return account_; }
    const BudgetAccount& account() const { return account_; }

    // Frees its spare buffers, or else the frame farthest from the one it shows (never that one
    // nor the next, and never frames a refresh waits for), narrowing its window past it so its
    // worker does not decode it again in this pass. False when it holds nothing it can spare.
    // Called with the budget's lock held and none of the cache's own.
    virtual bool giveUpFarthest() = 0;

protected:
    BudgetClient() = default;
    ~BudgetClient() = default;
    BudgetClient(const BudgetClient&) = delete;
    BudgetClient& operator=(const BudgetClient&) = delete;

private:
    BudgetAccount account_;
};

// Bytes charged to the process budget (and to an account, if given) for as long as the charge
// lives: what is not a cached frame (a decoder, a texture) is counted this way.
class BudgetCharge {
public:
    BudgetCharge() = default;
    BudgetCharge(BudgetAccount* account, Spend spend, size_t bytes);
    ~BudgetCharge() { reset(); }
    BudgetCharge(BudgetCharge&& other) noexcept;
    BudgetCharge& operator=(BudgetCharge&& other) noexcept;
    BudgetCharge(const BudgetCharge&) = delete;
    BudgetCharge& operator=(const BudgetCharge&) = delete;

    size_t bytes() const { return bytes_; }
    // Charges the same bytes to `account` as `spend` instead (a frame's buffer kept by the
    // process, or taken by another cache); the new charge is counted before the old one is
    // refunded, so the budget never shows room that is not there.
    void moveTo(BudgetAccount* account, Spend spend);
    // Refunds the charge.
    void reset();
    // Whether it is `bytes` of `account`'s spending on `spend`.
    bool covers(const BudgetAccount* account, Spend spend, size_t bytes) const {
        return bytes_ > 0 && account_ == account && spend_ == spend && bytes_ == bytes;
    }

private:
    friend class CacheBudget;
    struct Counted {};
    // Bytes the budget has counted already.
    BudgetCharge(BudgetAccount* account, Spend spend, size_t bytes, Counted)
        : account_(account), spend_(spend), bytes_(bytes) {}

    BudgetAccount* account_ = nullptr;
    Spend spend_ = Spend::kFrames;
    size_t bytes_ = 0;
};

// Room the budget made for one frame, counted as its cache's frames until the frame's buffer
// takes the charge over; refunded when it goes untaken (the frame took a spare its cache already
// held, or was never made). Empty when the budget had no room.
class FrameReservation {
public:
    FrameReservation() = default;
    explicit operator bool() const { return granted_; }
    // The charge, for a new buffer of `bytes` of `account`'s frames, or for a spare of the
    // process taken for them; empty when the reservation is for other bytes.
    BudgetCharge takeFor(const BudgetAccount* account, size_t bytes) {
        return charge_.covers(account, Spend::kFrames, bytes) ? std::move(charge_) : BudgetCharge();
    }

private:
    friend class CacheBudget;
    explicit FrameReservation(BudgetCharge charge) : charge_(std::move(charge)), granted_(true) {}

    BudgetCharge charge_;
    bool granted_ = false;
};

}  // namespace video
