// "history.sqlite" as the records screen, the export and the next result read it, after a player
// put any values into its rows: numbers of any size, reals, text, bytes that are no text, nulls.
// Every figure shown stays in its range, the export and the records read it, and a new result
// still goes in.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/admodule/FuzzFolder.h"
#include "platform/SqlDatabase.h"
#include "results/HistoryCsv.h"
#include "results/HistoryStore.h"
#include "results/RecordsSummary.h"

namespace {

constexpr const char* kGames[] = {"race", "apple", "mole", "frog", "space"};

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char digits[3];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        out += digits;
    }
    return out;
}

// One SQL value of a kind the input chooses.
std::string Value(FuzzedDataProvider& in) {
    char text[64];
    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
    case 0:
        std::snprintf(text, sizeof text, "%" PRId64, in.ConsumeIntegral<int64_t>());
        return text;
    case 1:
        return std::to_string(in.ConsumeIntegral<int8_t>());
    case 2: {
        const double d = in.ConsumeFloatingPoint<double>();
        if (std::isnan(d)) return "NULL";
        if (std::isinf(d)) return d > 0 ? "9e999" : "-9e999";
        std::snprintf(text, sizeof text, "%.17g", d);
        return text;
    }
    case 3:
        return "CAST(X'" + Hex(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 23))) + "' AS TEXT)";
    case 4:
        return "X'" + Hex(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 23))) + "'";
    case 5:
        return std::string("'") + kGames[in.ConsumeIntegralInRange<int>(0, 4)] + "'";
    default:
        return "NULL";
    }
}

std::string Row(FuzzedDataProvider& in, int columns) {
    std::string row = "(";
    for (int i = 0; i < columns; ++i) row += (i ? ", " : "") + Value(in);
    return row + ")";
}

void Check(bool holds) {
    if (!holds) std::abort();
}

void CheckSummary(const results::RecordsSummary& s) {
    Check(s.unreadable.empty());
    Check(s.recent.size() <= static_cast<std::size_t>(results::RecordsSummary::kChartResults));
    for (const results::GameResult& r : s.recent) {
        Check(r.correct >= 0 && r.wrong >= 0 && r.durationMs >= 0 && r.Keys() >= 0);
        const double speed = r.CharsPerMinute();
        const double accuracy = r.AccuracyPercent();
        Check(std::isfinite(speed) && speed >= 0 && accuracy >= 0 && accuracy <= 100);
        Check(!results::PercentText(accuracy).empty());
    }
    for (double figure : {s.bestSpeed, s.averageSpeed}) Check(std::isfinite(figure) && figure >= 0);
    for (double figure : {s.bestAccuracy, s.averageAccuracy}) Check(figure >= 0 && figure <= 100);
    for (char16_t key = 0x20; key < 0x7F; ++key) {
        const results::KeyCount count = s.KeyOnBoard(key);
        Check(count.presses >= 0 && count.misses >= 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string path = fuzzing::FuzzFolder() + "history.sqlite";
    unlink(path.c_str());
    std::string why;
    Check(results::HistoryStore::Open(path, true, why) != nullptr);
    {
        platform::DbFault fault{};
        auto db = platform::SqlDatabase::Open(path, false, fault, why);
        Check(db != nullptr);
        FuzzedDataProvider in(data, size);
        for (int i = 0; i < 200 && in.remaining_bytes() > 0; ++i) {
            // A row that breaks a rule of the table (a null, a text id) is refused: the next one goes on.
            const bool result = in.ConsumeIntegralInRange<int>(0, 2) != 0;
            const std::string sql = std::string("INSERT INTO ") + (result ? "results" : "result_keys") + " VALUES" +
                                    Row(in, result ? 9 : 4) + ";";
            (void)db->Exec(sql.c_str());
        }
    }
    for (const char* game : kGames) CheckSummary(results::RecordsSummary::Load(path, game));
    std::string csv;
    Check(results::HistoryCsv::Export(path, csv, why));

    auto store = results::HistoryStore::Open(path, true, why);
    Check(store != nullptr);
    results::GameResult next;
    next.finishedAtMs = 1796902428684;
    next.game = "race";
    next.level = "text";
    next.correct = 3;
    next.durationMs = 1000;
    next.outcome = "won";
    next.keys = {{u'a', 3, 0}};
    Check(store->Append(next, why));
    return 0;
}
