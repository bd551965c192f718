#include "results/GameResult.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

namespace results {

GameResult GameResult::Of(const Tally& tally, uint32_t nowMs, std::string game, std::string level,
                          std::string outcome) {
    GameResult r;
    r.finishedAtMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    r.game = std::move(game);
    r.level = std::move(level);
    r.outcome = std::move(outcome);
    r.correct = tally.Correct();
    r.wrong = tally.Wrong();
    r.durationMs = tally.DurationTo(nowMs);
    r.keys = tally.Keys();
    return r;
}

double GameResult::CharsPerMinute() const {
    return durationMs > 0 ? correct * 60000.0 / static_cast<double>(durationMs) : 0.0;
}

double GameResult::AccuracyPercent() const { return Keys() > 0 ? 100.0 * correct / Keys() : 0.0; }

std::vector<char16_t> GameResult::MostMissed(size_t count) const {
    std::vector<KeyCount> missed;
    for (const KeyCount& k : keys) {
        if (k.misses > 0) missed.push_back(k);
    }
    std::stable_sort(missed.begin(), missed.end(),
                     [](const KeyCount& a, const KeyCount& b) { return a.misses > b.misses; });
    std::vector<char16_t> top;
    for (size_t i = 0; i < missed.size() && i < count; ++i) top.push_back(missed[i].key);
    return top;
}

std::string PercentText(double percent) {
    // The small allowance keeps a value such as 70 computed as 69.99999... at 70.0.
    const double tenths = std::floor(percent * 10.0 + 1e-6);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", tenths / 10.0);
    return text;
}

}  // namespace results
