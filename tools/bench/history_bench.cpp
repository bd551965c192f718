// What keeping results costs: the frame's side of handing a result to the history (median and
// p99 over many results while the writer thread writes them), the time the results take to reach
// the file, their CSV export, and the records screen's reading of one game from a history of
// 100,000 results.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/SqlDatabase.h"
#include "results/HistoryCsv.h"
#include "results/HistoryStore.h"
#include "results/RecordsSummary.h"
#include "results/ResultBook.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

results::GameResult Sample(int i) {
    results::Tally tally;
    for (int k = 0; k < 120; ++k) tally.Count(static_cast<char16_t>(u'A' + (k + i) % 26), k % 9 != 0, 20u * k);
    return results::GameResult::Of(tally, 5000, "race", "text", "won");
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// 100,000 results of the five games in turn, each with the 26 letters, in one transaction.
bool FillHistory(const std::string& path) {
    std::string why;
    if (!results::HistoryStore::Open(path, true, why)) return false;
    platform::DbFault fault = platform::DbFault::None;
    auto db = platform::SqlDatabase::Open(path, false, fault, why);
    return db && db->Exec(
                     "BEGIN;"
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)"
                     " INSERT INTO results(id, finished_at, game, level, keys, correct, wrong, duration_ms, outcome)"
                     " SELECT i, 1700000000000 + i * 60000, CASE i % 5 WHEN 0 THEN 'race' WHEN 1 THEN 'apple'"
                     " WHEN 2 THEN 'mole' WHEN 3 THEN 'frog' ELSE 'space' END, '1', 130, 120 + i % 10,"
                     " 10 - i % 10, 30000 + i % 7000, 'won' FROM n;"
                     "WITH RECURSIVE k(c) AS (SELECT 97 UNION ALL SELECT c + 1 FROM k WHERE c < 122)"
                     " INSERT INTO result_keys(result_id, key, presses, misses)"
                     " SELECT id, c, 5, (id + c) % 3 FROM results, k;"
                     "COMMIT;");
}

}  // namespace

int main() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "glyphor-history-bench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "history.sqlite").string();

    results::ResultBook::Open(path);
    std::vector<double> handOver;
    const auto start = Clock::now();
    for (int i = 0; i < 2000; ++i) {
        const results::GameResult result = Sample(i);
        const auto t0 = Clock::now();
        results::ResultBook::Record(result);
        handOver.push_back(Ms(Clock::now() - t0));
    }
    results::ResultBook::Drain();
    const double written = Ms(Clock::now() - start);
    results::ResultBook::Close();
    std::printf("frame side of a result: median %.4f ms, p99 %.4f ms (goal p99 <= 1 ms)\n", Percentile(handOver, 0.5),
                Percentile(handOver, 0.99));
    std::printf("2000 results with 26 keys each written in %.0f ms (%.2f ms a transaction)\n", written, written / 2000);

    std::string why;
    std::string csv;
    const auto t0 = Clock::now();
    results::HistoryCsv::Export(path, csv, why);
    std::printf("export of 2000 results: %.1f ms, %zu bytes\n", Ms(Clock::now() - t0), csv.size());

    const std::string big = (dir / "big.sqlite").string();
    if (!FillHistory(big)) {
        std::printf("cannot make a history of 100,000 results\n");
        return 1;
    }
    for (const char* game : {"race", "space"}) {
        const auto t1 = Clock::now();
        const results::RecordsSummary summary = results::RecordsSummary::Load(big, game);
        std::printf(
            "records screen, %s of 100,000 results: %.1f ms to read %zu results and %zu keys (goal <= 100 ms)\n", game,
            Ms(Clock::now() - t1), summary.recent.size(), summary.keys.size());
    }
    std::filesystem::remove_all(dir);
    return 0;
}
