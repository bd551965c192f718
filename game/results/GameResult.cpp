#include "results/GameResult.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
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

char16_t KeyOnKeyboard(char16_t c) {
    static constexpr std::u16string_view kShifted = u"!@#$%^&*()_+{}:\"<>?~|";
    static constexpr std::u16string_view kPlain = u"1234567890-=[];',./`\\";
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
    const size_t at = kShifted.find(c);
    return at == std::u16string_view::npos ? c : kPlain[at];
}

std::vector<char16_t> GameResult::MostMissed(size_t count) const {
    // A capital and its small letter are one key, as on the records' keyboard.
    std::vector<KeyCount> missed;
    for (const KeyCount& k : keys) {
        if (k.misses <= 0) continue;
        const char16_t key = KeyOnKeyboard(k.key);
        const auto same = std::find_if(missed.begin(), missed.end(), [key](const KeyCount& m) { return m.key == key; });
        if (same == missed.end()) {
            missed.push_back(KeyCount{key, k.presses, k.misses});
        } else {
            same->misses = static_cast<int32_t>(std::min<int64_t>(int64_t{same->misses} + k.misses, INT32_MAX));
        }
    }
    std::stable_sort(missed.begin(), missed.end(),
                     [](const KeyCount& a, const KeyCount& b) { return a.misses > b.misses; });
    std::vector<char16_t> top;
    for (size_t i = 0; i < missed.size() && i < count; ++i) top.push_back(missed[i].key);
    return top;
}

std::string PercentText(double percent) {
    // The small allowance keeps a value such as 70 computed as 69.99999... at 70.0; it is far
    // below the step of any real result (one miss in 10^9 keys is 10^-6 tenths).
    const double tenths = std::floor(percent * 10.0 + 1e-9);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", tenths / 10.0);
    return text;
}

}  // namespace results
