#include "cache/BudgetAccount.h"

#include "cache/CacheBudget.h"

#include <utility>

namespace video {

size_t BudgetAccount::total() const {
    size_t sum = 0;
    for (const std::atomic<size_t>& bytes : bytes_) {
        sum += bytes;
    }
    return sum;
}

BudgetCharge::BudgetCharge(BudgetAccount* account, Spend spend, size_t bytes)
    : account_(account), spend_(spend), bytes_(bytes) {
    CacheBudget::instance().charge(account_, spend_, bytes_);
}

BudgetCharge::BudgetCharge(BudgetCharge&& other) noexcept
    : account_(other.account_), spend_(other.spend_), bytes_(std::exchange(other.bytes_, 0)) {}

BudgetCharge& BudgetCharge::operator=(BudgetCharge&& other) noexcept {
    if (this != &other) {
        reset();
        account_ = other.account_;
        spend_ = other.spend_;
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

void BudgetCharge::moveTo(BudgetAccount* account, Spend spend) {
    if (bytes_ > 0) {
        CacheBudget::instance().charge(account, spend, bytes_);
        CacheBudget::instance().refund(account_, spend_, bytes_);
    }
    account_ = account;
    spend_ = spend;
}

void BudgetCharge::reset() {
    if (bytes_ > 0) {
        CacheBudget::instance().refund(account_, spend_, bytes_);
        bytes_ = 0;
    }
}

}  // namespace video
