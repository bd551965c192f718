// What keeping results costs: the frame's side of handing a result to the history (median and
// p99 over many results while the writer thread writes them), the time the results take to reach
// the file, and their CSV export.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "results/HistoryCsv.h"
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
    std::filesystem::remove_all(dir);
    return 0;
}
