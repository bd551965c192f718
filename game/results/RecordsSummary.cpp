#include "results/RecordsSummary.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/SqlDatabase.h"
#include "results/HistoryStore.h"

namespace results {

RecordsSummary RecordsSummary::Load(const std::string& path, const std::string& game) {
    std::string warning;
    std::unique_ptr<HistoryStore> store = HistoryStore::Open(path, false, warning);
    if (!store) {
        RecordsSummary none;
        if (platform::SqlDatabase::Exists(path)) none.unreadable = warning;
        return none;
    }
    if (game.empty()) return {};
    std::string why;
    std::vector<GameResult> recent = store->Recent(game, kChartResults, &why);
    std::vector<KeyCount> keys = why.empty() ? store->KeyTotals(game, kKeyResults, &why) : std::vector<KeyCount>();
    if (!why.empty()) {
        RecordsSummary none;
        none.unreadable = why;
        return none;
    }
    return Of(std::move(recent), std::move(keys));
}

RecordsSummary RecordsSummary::Of(std::vector<GameResult> recent, std::vector<KeyCount> keys) {
    RecordsSummary s;
    s.recent = std::move(recent);
    s.keys = std::move(keys);
    // A round without a single key (left alone until it was lost) says nothing of speed or
    // accuracy, and one typed in no time (a one-character race text) nothing of speed: it is
    // charted, but no best or average counts it.
    double speeds = 0;
    double accuracies = 0;
    size_t timed = 0;
    size_t typed = 0;
    for (const GameResult& r : s.recent) {
        if (r.Keys() == 0) continue;
        ++typed;
        s.bestAccuracy = std::max(s.bestAccuracy, r.AccuracyPercent());
        accuracies += r.AccuracyPercent();
        if (!r.HasSpeed()) continue;
        ++timed;
        s.bestSpeed = std::max(s.bestSpeed, r.CharsPerMinute());
        speeds += r.CharsPerMinute();
    }
    if (timed > 0) s.averageSpeed = speeds / static_cast<double>(timed);
    if (typed > 0) s.averageAccuracy = accuracies / static_cast<double>(typed);
    return s;
}

KeyCount RecordsSummary::KeyOnBoard(char16_t key) const {
    int64_t presses = 0;
    int64_t misses = 0;
    for (const KeyCount& k : keys) {
        if (KeyOnKeyboard(k.key) != KeyOnKeyboard(key)) continue;
        presses += k.presses;
        misses += k.misses;
    }
    constexpr int64_t kMost = INT32_MAX;
    return KeyCount{key, static_cast<int32_t>(std::min(presses, kMost)), static_cast<int32_t>(std::min(misses, kMost))};
}

}  // namespace results
