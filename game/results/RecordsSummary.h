#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "results/GameResult.h"

namespace results {

// What the records screen shows of one game: its last results with their best and average
// speed and accuracy, and the presses and misses of every key over a longer stretch.
struct RecordsSummary {
    static constexpr int32_t kChartResults = 50;
    static constexpr int32_t kKeyResults = 500;

    std::vector<GameResult> recent;  // up to kChartResults, oldest first
    std::vector<KeyCount> keys;      // summed over up to kKeyResults, by key code
    double bestSpeed = 0;            // 字/分
    double averageSpeed = 0;
    double bestAccuracy = 0;  // percent
    double averageAccuracy = 0;
    // Why a history that is there could not be read (damaged, locked); empty when it was read
    // or there is none yet.
    std::string unreadable;

    // Reads the history file at `path` for `game` (race, apple, mole, frog, space). A missing or
    // unreadable history gives an empty summary.
    static RecordsSummary Load(const std::string& path, const std::string& game);
    // The figures of `recent` and `keys`.
    static RecordsSummary Of(std::vector<GameResult> recent, std::vector<KeyCount> keys);
    // Presses and misses of a key on the keyboard: upper and lower case letters together, and a
    // sign typed with Shift with the plain sign of its key.
    KeyCount KeyOnBoard(char16_t key) const;
};

}  // namespace results
