// The history file is the player's: it may be edited by hand, dumped and loaded again, or hold
// anything an SQLite file can hold. These tests build such files and read them as the game does.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/SqlDatabase.h"
#include "results/HistoryCsv.h"
#include "results/HistoryStore.h"
#include "results/RecordsSummary.h"
#include "results/WeakKeys.h"
#include "tests/support/TempDir.h"

namespace {

results::GameResult Race(int32_t correct) {
    results::GameResult r;
    r.finishedAtMs = 1796902428684;
    r.game = "race";
    r.level = "text";
    r.correct = correct;
    r.durationMs = 60000;
    r.outcome = "won";
    r.keys = {{u'a', correct, 0}};
    return r;
}

// Opens `path` as a plain database and runs `sql` on it.
void Edit(const std::string& path, const char* sql) {
    platform::DbFault fault{};
    std::string why;
    auto db = platform::SqlDatabase::Open(path, true, fault, why);
    ASSERT_TRUE(db) << why;
    ASSERT_TRUE(db->Exec(sql)) << db->Error();
}

TEST(HandEditedHistory, TheFilesTriggersNeverRunAndItsValuesAreReadOnlyInTheRangesTheGameWrites) {
    testsupport::TempDir temp("glyphor-history-edited");
    const std::string path = temp.File("history.sqlite");
    std::string why;
    ASSERT_TRUE(results::HistoryStore::Open(path, true, why)->Append(Race(10), why)) << why;
    Edit(path,
         "CREATE TRIGGER wipe AFTER INSERT ON results BEGIN DELETE FROM results WHERE id <> new.id; END;"
         "CREATE TRIGGER skip BEFORE INSERT ON results BEGIN SELECT RAISE(IGNORE); END;"
         "INSERT INTO results VALUES(7, 9223372036854775807, 'race', 'x', 0, 9223372036854775807, -5, 'fast', 'won');"
         "INSERT INTO result_keys VALUES(7, 122, 2147483647, 0), (7, 90, 2147483647, 0), (7, 70000, 10, 10),"
         " (7, -1, 10, 10), (7, 'e', 10, 10), (7, 115, 10, 99);");

    auto store = results::HistoryStore::Open(path, true, why);
    ASSERT_TRUE(store) << why;
    int64_t id = 0;
    ASSERT_TRUE(store->Append(Race(20), why, &id)) << why;
    EXPECT_EQ(id, 8) << "the new row's own id, not one a trigger left";
    const auto rows = store->Recent("race", 10, &why);
    ASSERT_EQ(rows.size(), 3u) << why;
    EXPECT_EQ(rows[1].correct, 1000000000);
    EXPECT_EQ(rows[1].wrong, 0);
    EXPECT_EQ(rows[1].durationMs, 0);
    EXPECT_EQ(rows[1].finishedAtMs, 253402300799999);
    EXPECT_EQ(rows[1].AccuracyPercent(), 100.0);

    const auto keys = store->KeyTotals("race", 10, &why);
    ASSERT_EQ(keys.size(), 4u) << "only key codes a keyboard gives";
    EXPECT_EQ(keys[0].key, u'Z');
    EXPECT_EQ(keys[1].presses, 30);
    const auto summary = results::RecordsSummary::Of(rows, keys);
    EXPECT_GT(summary.KeyOnBoard(u'z').presses, 1000000000) << "capital and small letter add without overflow";
    const auto weights = results::WeakKeys::WeightsFrom(keys);
    EXPECT_EQ(weights[u's' - u'a'], results::WeakKeys::WeightsFrom({{u's', 1, 1}})[u's' - u'a'])
        << "more misses than presses weigh no more than all presses missed";
}

TEST(HandEditedHistory, AViewForTheResultsIsRefusedQuicklyAndNeverEndingWorkIsStopped) {
    testsupport::TempDir temp("glyphor-history-view");
    const std::string path = temp.File("history.sqlite");
    Edit(path,
         "CREATE TABLE result_keys(result_id, key, presses, misses);"
         "CREATE VIEW results AS WITH RECURSIVE n(id) AS (SELECT 1 UNION ALL SELECT id + 1 FROM n)"
         " SELECT id, 0 AS finished_at, 'race' AS game, '' AS level, 1 AS correct, 0 AS wrong, 1 AS duration_ms,"
         " 'won' AS outcome FROM n; PRAGMA user_version = 1;");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(results::RecordsSummary::Load(path, "race").unreadable.find("a view"), std::string::npos);
    std::string csv;
    std::string why;
    EXPECT_FALSE(results::HistoryCsv::Export(path, csv, why));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    platform::DbFault fault{};
    auto db = platform::SqlDatabase::Open(path, false, fault, why);
    ASSERT_TRUE(db) << why;
    EXPECT_FALSE(db->Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT count(*) FROM n"));
    EXPECT_NE(db->Error().find("more than 2 s"), std::string::npos) << db->Error();
}

TEST(HandEditedHistory, AFileDumpedAndLoadedAgainKeepsItsResultsAndADamagedOnesLogMovesWithIt) {
    testsupport::TempDir temp("glyphor-history-dumped");
    const std::string path = temp.File("history.sqlite");
    std::string why;
    ASSERT_TRUE(results::HistoryStore::Open(path, true, why)->Append(Race(10), why)) << why;
    Edit(path, "PRAGMA user_version = 0");
    // Read as it is: a reader writes nothing to the file, so a copy the player may not write
    // reads all the same.
    const std::string dumped = temp.Read("history.sqlite");
    {
        auto reader = results::HistoryStore::Open(path, false, why);
        ASSERT_TRUE(reader) << why;
        EXPECT_EQ(reader->Recent("", 10).size(), 1u);
    }
    EXPECT_EQ(temp.Read("history.sqlite"), dumped);
    auto store = results::HistoryStore::Open(path, true, why);
    ASSERT_TRUE(store) << why;
    ASSERT_TRUE(store->Append(Race(20), why)) << why;
    EXPECT_EQ(store->Recent("", 10).size(), 2u);
    store.reset();

    for (const char* suffix : {"-wal", "-shm"}) temp.Write(std::string("history.sqlite") + suffix, "log");
    ASSERT_TRUE(platform::SqlDatabase::MoveAside(path, path + ".damaged"));
    EXPECT_TRUE(platform::SqlDatabase::Exists(path + ".damaged-wal"));
    for (const char* suffix : {"", "-wal", "-shm"}) EXPECT_FALSE(platform::SqlDatabase::Exists(path + suffix));
}

}  // namespace
