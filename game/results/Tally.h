#pragma once
#include <cstdint>
#include <vector>

namespace results {

// Presses and misses of one key: the key the game expected, or the key pressed where no single
// key was expected (a letter that hit no apple).
struct KeyCount {
    char16_t key = 0;
    int32_t presses = 0;
    int32_t misses = 0;
};

// What the player typed in one race or round: correct and wrong keys, when the first key came,
// and the counts of every key. A value: a game keeps one and resets it when a round starts.
class Tally {
public:
    void Reset() { *this = Tally(); }
    // One counted key at clock time `nowMs`: the key that was wanted and whether it was hit.
    void Count(char16_t expected, bool hit, uint32_t nowMs);
    // A wrong key that is none of the game's keys (a digit where only letters play): it counts
    // against the accuracy but is kept under no key.
    void CountStray(uint32_t nowMs);

    int32_t Correct() const { return correct_; }
    int32_t Wrong() const { return wrong_; }
    // Milliseconds from the first counted key to `nowMs`, without the time the game was held; 0
    // before any key.
    int64_t DurationTo(uint32_t nowMs) const;
    // Why the typing time stops: the player paused or left the game for a question or a menu, the
    // window is hidden, or the text is all typed and only the key that ends the game (or starts
    // the text again) is to come. Each is held and goes on by itself; time counts while none holds.
    enum class HoldReason : uint8_t { kPlayer = 1, kHidden = 2, kTextDone = 4 };
    // The game stops and goes on: the time between does not count. Holding for a reason that
    // holds already, or going on for one that does not, changes nothing.
    void Hold(uint32_t nowMs, HoldReason why = HoldReason::kPlayer);
    void GoOn(uint32_t nowMs, HoldReason why = HoldReason::kPlayer);
    // The window is hidden (true) or shown again (false).
    void HoldWhileHidden(bool hidden, uint32_t nowMs) {
        hidden ? Hold(nowMs, HoldReason::kHidden) : GoOn(nowMs, HoldReason::kHidden);
    }
    // The game did not run from `fromMs` to `toMs` (the process or the machine was stopped): that
    // time is not the player's, as far as it falls after the first key and before a hold.
    void Skip(uint32_t fromMs, uint32_t toMs);
    // By key code, ascending.
    const std::vector<KeyCount>& Keys() const { return keys_; }

private:
    void Start(uint32_t nowMs);

    int32_t correct_ = 0;
    int32_t wrong_ = 0;
    bool started_ = false;
    uint32_t firstKeyMs_ = 0;
    uint32_t countedFromMs_ = 0;  // the first key, or the end of the last hold after it
    uint8_t holds_ = 0;           // the HoldReason bits that hold
    uint32_t heldSinceMs_ = 0;
    int64_t heldMs_ = 0;  // the holds that ended
    std::vector<KeyCount> keys_;
};

}  // namespace results
