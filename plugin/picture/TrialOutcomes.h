#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <mutex>

namespace video {

// The outcome of a conversion trial for each kind of picture (the N numbers that tell kinds
// apart), tried once in the process. Safe to call from any thread.
template <size_t N>
class TrialOutcomes {
public:
    using Kind = std::array<int, N>;

    // The kind's outcome, `trial()` being run the first time the kind is asked for. It runs
    // without the lock: decoders of other kinds go on meanwhile, and two of the same kind trying
    // at once come to the same outcome.
    template <typename Trial>
    bool of(const Kind& kind, Trial trial) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            const auto known = outcomes_.find(kind);
            if (known != outcomes_.end()) {
                return known->second;
            }
        }
        const bool outcome = trial();
        const std::lock_guard<std::mutex> lock(mutex_);
        outcomes_[kind] = outcome;
        return outcome;
    }

private:
    std::mutex mutex_;
    std::map<Kind, bool> outcomes_;
};

}  // namespace video
