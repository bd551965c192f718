#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "results/Tally.h"

namespace results {

// One finished race or round as the history keeps it.
struct GameResult {
    int64_t finishedAtMs = 0;  // milliseconds since 1970-01-01 UTC
    std::string game;          // race, apple, mole, frog, space
    std::string level;         // the level, course or race text
    int32_t correct = 0;
    int32_t wrong = 0;
    int64_t durationMs = 0;
    std::string outcome;  // won, lost, passed, failed, over
    std::vector<KeyCount> keys;

    // A result of `tally` finished now (clock time `nowMs` for the duration, the wall clock for
    // the time it finished).
    static GameResult Of(const Tally& tally, uint32_t nowMs, std::string game, std::string level, std::string outcome);

    int32_t Keys() const { return correct + wrong; }
    // Whether the result says anything of speed: keys typed over some time (a one-character
    // race text takes none).
    bool HasSpeed() const { return Keys() > 0 && durationMs > 0; }
    // Correct keys per minute; 0 without time.
    double CharsPerMinute() const;
    // Correct keys of all keys, in percent; 0 without keys.
    double AccuracyPercent() const;
    // Up to `count` keys of the keyboard (KeyOnKeyboard) with the most misses, most first (ties
    // in the order the keys were first counted).
    std::vector<char16_t> MostMissed(size_t count) const;
};

// The key that types `c`: a capital or a shifted sign is typed on the key of the small letter or
// the plain sign.
char16_t KeyOnKeyboard(char16_t c);

// A percentage as the game shows it, to a tenth and rounded down, so that "100.0" never stands
// for a result with a miss.
std::string PercentText(double percent);

}  // namespace results
