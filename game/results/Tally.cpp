#include "results/Tally.h"

#include <algorithm>

namespace results {

void Tally::Count(char16_t expected, bool hit, uint32_t nowMs) {
    if (!started_) {
        started_ = true;
        firstKeyMs_ = nowMs;
    }
    ++(hit ? correct_ : wrong_);
    auto at = std::lower_bound(keys_.begin(), keys_.end(), expected,
                               [](const KeyCount& k, char16_t key) { return k.key < key; });
    if (at == keys_.end() || at->key != expected) at = keys_.insert(at, KeyCount{expected, 0, 0});
    ++at->presses;
    if (!hit) ++at->misses;
}

int64_t Tally::DurationTo(uint32_t nowMs) const {
    // The clock wraps at 32 bits; the difference stays right across the wrap.
    return started_ ? static_cast<int64_t>(static_cast<uint32_t>(nowMs - firstKeyMs_)) : 0;
}

}  // namespace results
