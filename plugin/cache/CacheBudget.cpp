#include "cache/CacheBudget.h"

#include "cache/BudgetSetting.h"
#include "cache/ProcessSpares.h"

#include <algorithm>
#include <cstdlib>

namespace video {

CacheBudget::CacheBudget(size_t limit, std::string warning)
    : limit_(limit), warning_(std::move(warning)) {}

CacheBudget& CacheBudget::instance() {
    static CacheBudget budget = [] {
        BudgetChoice choice = chooseCacheBudget(std::getenv("CINESHEET_CACHE_MB"), physicalMemory(),
                                                cgroupMemoryLimit());
        return CacheBudget(choice.bytes, std::move(choice.warning));
    }();
    return budget;
}

std::string CacheBudget::takeWarning() {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::string warning;
    warning.swap(warning_);
    return warning;
}

void CacheBudget::enrol(BudgetClient* client) {
    const std::lock_guard<std::mutex> lock(mutex_);
    clients_.push_back(client);
}

void CacheBudget::leave(BudgetClient* client) {
    const std::lock_guard<std::mutex> lock(mutex_);
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

size_t CacheBudget::usedBesides(Spend first, Spend second) const {
    // The total and the kinds are counted one after the other, without the lock: for a moment
    // the kinds read may pass the total read.
    const size_t kinds = used(first) + (second == first ? 0 : used(second));
    const size_t total = used_;
    return total > kinds ? total - kinds : 0;
}

size_t CacheBudget::shareOfFrames(const BudgetClient& requester) const {
    // The process's spares are room: they go first when room is needed.
    const size_t notFrames = usedBesides(Spend::kFrames, Spend::kSpares);
    const size_t room = limit_ > notFrames ? limit_ - notFrames : 0;
    size_t holders = requester.account().bytes(Spend::kFrames) == 0 ? 1 : 0;
    for (const BudgetClient* client : clients_) {
        holders += client->account().bytes(Spend::kFrames) > 0 ? 1 : 0;
    }
    return room / std::max<size_t>(holders, 1);
}

// The one way frames leave for room: the process's spares are freed first (by the callers), then
// the budget picks the cache holding the most frames, whose giveUpFarthest frees its own spares,
// else its stored frame the window rule gives up first (WindowRule::farthest), narrowing its
// window past it.
bool CacheBudget::takeFromLargest(const BudgetClient* spared, size_t above) {
    // Read once: other caches store and drop frames meanwhile.
    std::vector<std::pair<size_t, BudgetClient*>> holders;
    for (BudgetClient* client : clients_) {
        const size_t frames = client->account().bytes(Spend::kFrames);
        if (client != spared && frames > above) {
            holders.emplace_back(frames, client);
        }
    }
    std::sort(holders.begin(), holders.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& holder : holders) {
        if (holder.second->giveUpFarthest()) {
            return true;
        }
    }
    return false;
}

FrameReservation CacheBudget::reserve(BudgetClient& client, size_t bytes, Need need) {
    // Spares given up for room, freed once the lock is let go of.
    std::vector<FrameBuffer> freed;
    const std::lock_guard<std::mutex> lock(mutex_);
    // The process's spares go first, except those the frame can take: taking one moves its
    // charge to the frame, and needs no more room. For a frame to be shown any frame not shown
    // goes next; with none left, the budget is passed.
    if (need == Need::kShown) {
        makeRoomFromAll(bytes, bytes, freed);
    } else if (!makeRoomAhead(client, bytes, freed)) {
        return FrameReservation();
    }
    count(&client.account(), Spend::kFrames, bytes);
    return FrameReservation(
        BudgetCharge(&client.account(), Spend::kFrames, bytes, BudgetCharge::Counted{}));
}

size_t CacheBudget::roomForFrames(const BudgetClient& client) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const size_t held = usedBesides(Spend::kSpares, Spend::kSpares);
    const size_t free = limit_ > held ? limit_ - held : 0;
    return std::max(client.account().bytes(Spend::kFrames) + free, shareOfFrames(client));
}

void CacheBudget::makeRoom(size_t bytes) {
    std::vector<FrameBuffer> freed;
    const std::lock_guard<std::mutex> lock(mutex_);
    makeRoomFromAll(bytes, 0, freed);
}

// Ahead of the frame shown, a cache stays within its share, and takes room only from caches beyond
// theirs: frames read ahead are never traded between caches within their shares, which would have
// each decode again what the other just took.
bool CacheBudget::makeRoomAhead(const BudgetClient& client, size_t bytes,
                                std::vector<FrameBuffer>& freed) {
    ProcessSpares& spares = ProcessSpares::instance();
    while (used_ + bytes > limit_) {
        if (FrameBuffer spare = spares.giveUp(bytes)) {
            freed.push_back(std::move(spare));
            continue;
        }
        const size_t share = shareOfFrames(client);
        if (client.account().bytes(Spend::kFrames) + bytes > share) {
            // Spares it could take are freed all the same: they are room no cache holds.
            FrameBuffer spare = spares.giveUp(0);
            if (!spare) {
                return false;
            }
            freed.push_back(std::move(spare));
            continue;
        }
        if (spares.holds(bytes)) {
            return true;
        }
        if (!takeFromLargest(&client, share)) {
            return false;
        }
    }
    return true;
}

void CacheBudget::makeRoomFromAll(size_t bytes, size_t sparing, std::vector<FrameBuffer>& freed) {
    ProcessSpares& spares = ProcessSpares::instance();
    while (used_ + bytes > limit_) {
        if (FrameBuffer spare = spares.giveUp(sparing)) {
            freed.push_back(std::move(spare));
        } else if ((sparing > 0 && spares.holds(sparing)) || !takeFromLargest(nullptr, 0)) {
            return;
        }
    }
}

void CacheBudget::charge(BudgetAccount* account, Spend spend, size_t bytes) {
    count(account, spend, bytes);
    if (used_ > limit_ && used(Spend::kSpares) > 0) {
        ProcessSpares::instance().budgetPassed();
    }
}

void CacheBudget::count(BudgetAccount* account, Spend spend, size_t bytes) {
    const size_t kind = static_cast<size_t>(spend);
    used_ += bytes;
    usedBy_[kind] += bytes;
    if (account) {
        account->bytes_[kind] += bytes;
    }
}

void CacheBudget::refund(BudgetAccount* account, Spend spend, size_t bytes) {
    const size_t kind = static_cast<size_t>(spend);
    used_ -= bytes;
    usedBy_[kind] -= bytes;
    if (account) {
        account->bytes_[kind] -= bytes;
    }
}

}  // namespace video
