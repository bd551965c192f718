#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/Tally.h"

namespace results {

// Weak-key practice for the letter games: letters are drawn weighted by how often the player
// missed them lately, and every letter keeps a weight of at least 1, so none becomes impossible.
// The choice is the player's, kept in a small file of its own in the player's settings folder.
class WeakKeys {
public:
    using Weights = std::array<double, 26>;  // A..Z
    // A letter missed every time weighs this much more than one never missed.
    static constexpr double kBoost = 8.0;
    // Results of the history the miss rates are taken from.
    static constexpr int32_t kRecentResults = 500;

    // Weights from presses and misses per key (letters of either case count for the capital).
    static Weights WeightsFrom(const std::vector<KeyCount>& totals);
    // An index into the first `count` of `letters` (capitals A..Z), chosen by `weights` with the
    // uniform number `u` in [0, 1).
    static int32_t Pick(const char16_t* letters, int32_t count, const Weights& weights, double u);

    // Whether the option is on (read from the file once).
    static bool Enabled();
    // Whether the file's text says on.
    static bool ReadsAsOn(std::string_view text);
    // Sets the option and writes its file; false when the file cannot be written, with the
    // reason in `why` when given.
    static bool SetEnabled(bool on, std::string* why = nullptr);
    // For a new round: the weights from the history when the option is on, else none.
    static void PrepareRound();
    // The weights of the round, or null when letters are drawn evenly.
    static const Weights* RoundWeights();
    // Tests: the file the option lives in and the round's weights.
    static std::string OptionFile();
    static constexpr const char* kOptionFileName = "practice.cfg";
    static void UseRoundWeights(const Weights* weights);
    // Tests: the file is read again at the next question, as at a new start.
    static void Forget();
};

}  // namespace results
