#include "results/WeakKeys.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/BinaryFile.h"
#include "platform/PlayerFiles.h"
#include "results/HistoryStore.h"
#include "results/ResultBook.h"

namespace results {

namespace {

constexpr const char* kOn = "weak-key-practice 1\n";
constexpr const char* kOff = "weak-key-practice 0\n";
constexpr std::string_view kOnLine = "weak-key-practice 1";

std::optional<bool> g_enabled;
std::optional<WeakKeys::Weights> g_round;

int32_t LetterIndex(char16_t key) {
    if (key >= u'a' && key <= u'z') return key - u'a';
    if (key >= u'A' && key <= u'Z') return key - u'A';
    return -1;
}

}  // namespace

WeakKeys::Weights WeakKeys::WeightsFrom(const std::vector<KeyCount>& totals) {
    std::array<int64_t, 26> presses{};
    std::array<int64_t, 26> misses{};
    for (const KeyCount& k : totals) {
        const int32_t i = LetterIndex(k.key);
        if (i < 0) continue;
        presses[static_cast<size_t>(i)] += k.presses;
        misses[static_cast<size_t>(i)] += k.misses;
    }
    Weights weights{};
    for (size_t i = 0; i < weights.size(); ++i) {
        // A hand-edited history may claim more misses than presses.
        const double rate =
            presses[i] > 0 ? std::min(1.0, static_cast<double>(misses[i]) / static_cast<double>(presses[i])) : 0.0;
        weights[i] = 1.0 + kBoost * rate;
    }
    return weights;
}

int32_t WeakKeys::Pick(const char16_t* letters, int32_t count, const Weights& weights, double u) {
    if (count <= 0) return 0;
    double sum = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t at = LetterIndex(letters[i]);
        sum += at < 0 ? 1.0 : weights[static_cast<size_t>(at)];
    }
    double left = u * sum;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t at = LetterIndex(letters[i]);
        left -= at < 0 ? 1.0 : weights[static_cast<size_t>(at)];
        if (left < 0) return i;
    }
    return count - 1;
}

std::string WeakKeys::OptionFile() { return platform::PlayerConfigFolder() + kOptionFileName; }

bool WeakKeys::Enabled() {
    if (!g_enabled) {
        std::vector<uint8_t> bytes;
        const bool read = platform::ReadBinaryFile(OptionFile(), 64, bytes) == platform::ReadResult::Ok;
        g_enabled = read && ReadsAsOn(std::string(bytes.begin(), bytes.end()));
    }
    return *g_enabled;
}

void WeakKeys::Forget() { g_enabled.reset(); }

bool WeakKeys::ReadsAsOn(std::string_view text) {
    // A file edited by hand may have lost its line end, gained a carriage return or spaces, or
    // begin with a byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text == kOnLine;
}

bool WeakKeys::SetEnabled(bool on, std::string* why) {
    g_enabled = on;
    const std::string text = on ? kOn : kOff;
    return platform::ReplaceBinaryFile(OptionFile(), std::vector<uint8_t>(text.begin(), text.end()), why);
}

void WeakKeys::PrepareRound() {
    g_round.reset();
    if (!Enabled()) return;
    std::string why;
    const std::string& path = ResultBook::HistoryPath();
    std::unique_ptr<HistoryStore> store = path.empty() ? nullptr : HistoryStore::Open(path, false, why);
    g_round = WeightsFrom(store ? store->KeyTotals("", kRecentResults) : std::vector<KeyCount>());
}

const WeakKeys::Weights* WeakKeys::RoundWeights() { return g_round ? &*g_round : nullptr; }

void WeakKeys::UseRoundWeights(const Weights* weights) {
    if (weights) {
        g_round = *weights;
    } else {
        g_round.reset();
    }
}

}  // namespace results
