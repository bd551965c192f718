#include "results/Tally.h"

#include <algorithm>

namespace results {

void Tally::Start(uint32_t nowMs) {
    if (started_) return;
    started_ = true;
    firstKeyMs_ = nowMs;
    countedFromMs_ = nowMs;
    if (holds_ != 0) heldSinceMs_ = nowMs;
}

void Tally::CountStray(uint32_t nowMs) {
    Start(nowMs);
    ++wrong_;
}

void Tally::Count(char16_t expected, bool hit, uint32_t nowMs) {
    Start(nowMs);
    ++(hit ? correct_ : wrong_);
    auto at = std::lower_bound(keys_.begin(), keys_.end(), expected,
                               [](const KeyCount& k, char16_t key) { return k.key < key; });
    if (at == keys_.end() || at->key != expected) at = keys_.insert(at, KeyCount{expected, 0, 0});
    ++at->presses;
    if (!hit) ++at->misses;
}

int64_t Tally::DurationTo(uint32_t nowMs) const {
    if (!started_) return 0;
    // The clock wraps at 32 bits; each difference stays right across the wrap.
    const int64_t holding = holds_ != 0 ? static_cast<int64_t>(static_cast<uint32_t>(nowMs - heldSinceMs_)) : 0;
    const int64_t total = static_cast<int64_t>(static_cast<uint32_t>(nowMs - firstKeyMs_));
    return std::max<int64_t>(0, total - heldMs_ - holding);
}

void Tally::Hold(uint32_t nowMs, HoldReason why) {
    const auto bit = static_cast<uint8_t>(why);
    if (holds_ == 0) heldSinceMs_ = nowMs;
    holds_ |= bit;
}

void Tally::GoOn(uint32_t nowMs, HoldReason why) {
    const auto bit = static_cast<uint8_t>(why);
    if ((holds_ & bit) == 0) return;
    holds_ &= static_cast<uint8_t>(~bit);
    // A hold before the first key is no part of the time from it.
    if (holds_ == 0 && started_) {
        heldMs_ += static_cast<int64_t>(static_cast<uint32_t>(nowMs - heldSinceMs_));
        countedFromMs_ = nowMs;
    }
}

void Tally::Skip(uint32_t fromMs, uint32_t toMs) {
    if (!started_) return;
    // Time before the first key, or held and already taken off, is not taken off again.
    const uint32_t begin = static_cast<int32_t>(countedFromMs_ - fromMs) > 0 ? countedFromMs_ : fromMs;
    const uint32_t end = holds_ != 0 ? heldSinceMs_ : toMs;
    const auto span = static_cast<int32_t>(end - begin);
    if (span > 0) heldMs_ += span;
}

}  // namespace results
