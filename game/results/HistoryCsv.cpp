#include "results/HistoryCsv.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "platform/SqlDatabase.h"
#include "results/HistoryStore.h"

namespace results {

namespace {

std::string Quoted(const std::string& field) {
    // A field a spreadsheet would take for a formula (a race text's name is the player's file
    // name) starts with an apostrophe, and so is shown as the text it is.
    const bool formula = !field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos;
    if (!formula && field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = formula ? "\"'" : "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string IsoTime(int64_t msSinceEpoch) {
    const std::time_t seconds = static_cast<std::time_t>(msSinceEpoch / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace

const char* HistoryCsv::Header() {
    return "finished_at,game,level,keys,correct,wrong,duration_ms,chars_per_minute,accuracy,outcome\r\n";
}

std::string HistoryCsv::Line(const GameResult& r) {
    char figures[160];
    std::snprintf(figures, sizeof figures, "%d,%d,%d,%" PRId64 ",%.1f,%s,", r.Keys(), r.correct, r.wrong, r.durationMs,
                  r.CharsPerMinute(), PercentText(r.AccuracyPercent()).c_str());
    return IsoTime(r.finishedAtMs) + ',' + Quoted(r.game) + ',' + Quoted(r.level) + ',' + figures + Quoted(r.outcome) +
           "\r\n";
}

bool HistoryCsv::Export(const std::string& path, std::string& csv, std::string& why) {
    csv = Header();
    if (!platform::SqlDatabase::Exists(path)) return true;
    std::unique_ptr<HistoryStore> store = HistoryStore::Open(path, false, why);
    if (!store) return false;
    return store->ForEach([&csv](const GameResult& r) { csv += Line(r); }, why);
}

}  // namespace results
