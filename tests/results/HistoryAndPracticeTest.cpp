// The history file under trouble, and weak-key practice drawing letters.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/ProgramFolder.h"
#include "platform/Random.h"
#include "platform/SqlDatabase.h"
#include "platform/SqlStatement.h"
#include "platform/WindowSystemWait.h"
#include "results/HistoryCsv.h"
#include "results/HistoryStore.h"
#include "results/HistoryWriter.h"
#include "results/RecordsSummary.h"
#include "results/ResultBook.h"
#include "results/ResultPanel.h"
#include "results/Tally.h"
#include "results/WeakKeys.h"
#include "tests/support/TempDir.h"
#include "wordgames/LetterPool.h"

namespace {

results::GameResult Sample(int32_t correct, int32_t wrong) {
    results::Tally tally;
    for (int32_t i = 0; i < correct; ++i) tally.Count(u'A', true, 1000 + 100 * i);
    for (int32_t i = 0; i < wrong; ++i) tally.Count(u'Q', false, 5000);
    return results::GameResult::Of(tally, 7000, "apple", "3", "passed");
}

size_t Lines(const std::string& text, const std::string& start) {
    size_t n = 0;
    for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) ++n;
    return n;
}

TEST(History, AWriteWaitsOutAnotherProgramsReadAndALockHeldTooLongDropsTheResultWithOneWarningAndOneNotice) {
    testsupport::TempDir temp("glyphor-history-lock");
    const std::string path = temp.File("history.sqlite");
    results::HistoryWriter writer(path, std::chrono::milliseconds(3000));
    writer.Add(Sample(4, 1));
    writer.Drain();

    // Another program reads the file for a second (an export): the result waits and is kept.
    platform::DbFault fault{};
    std::string why;
    auto other = platform::SqlDatabase::Open(path, false, fault, why);
    ASSERT_TRUE(other) << why;
    ASSERT_TRUE(other->Exec("BEGIN"));
    auto reading = other->Prepare("SELECT count(*) FROM results");
    ASSERT_TRUE(reading && reading->Step() == platform::SqlStatement::StepResult::Row);
    writer.Add(Sample(3, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    reading.reset();
    ASSERT_TRUE(other->Exec("COMMIT"));
    writer.Drain();
    EXPECT_EQ(writer.TakeLoss(), "");

    // Another program holds the file for writing longer than a write waits.
    ASSERT_TRUE(other->Exec("BEGIN EXCLUSIVE"));
    testing::internal::CaptureStderr();
    writer.Add(Sample(9, 9));
    writer.Drain();
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(warnings, "history:"), 1u) << warnings;
    EXPECT_EQ(Lines(warnings, "\n"), 1u) << warnings;
    ASSERT_TRUE(other->Exec("COMMIT"));
    other.reset();
    EXPECT_NE(writer.TakeLoss().find("locked"), std::string::npos);
    EXPECT_EQ(writer.TakeLoss(), "");  // the player hears of it once

    // A writer that ends meanwhile (the program quits) waits no more than a moment a result.
    other = platform::SqlDatabase::Open(path, false, fault, why);
    ASSERT_TRUE(other && other->Exec("BEGIN EXCLUSIVE"));
    const auto quitting = std::chrono::steady_clock::now();
    testing::internal::CaptureStderr();
    {
        results::HistoryWriter ending(path, std::chrono::milliseconds(3000));
        ending.Add(Sample(1, 0));
        ending.CorrectLast(Sample(1, 0));
    }
    testing::internal::GetCapturedStderr();
    EXPECT_LT(std::chrono::steady_clock::now() - quitting, std::chrono::milliseconds(2000));
    ASSERT_TRUE(other->Exec("COMMIT"));
    other.reset();

    writer.Add(Sample(2, 0));
    writer.Drain();
    auto store = results::HistoryStore::Open(path, false, why);
    ASSERT_TRUE(store) << why;
    const auto rows = store->Recent("", 10);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].correct, 4);
    EXPECT_EQ(rows[0].wrong, 1);
    EXPECT_EQ(rows[0].durationMs, 6000);
    EXPECT_EQ(rows[1].correct, 3);
    EXPECT_EQ(rows[2].correct, 2);
    const auto keys = store->KeyTotals("apple", 500);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].key, u'Q');
    EXPECT_EQ(keys[1].presses, 1);
    EXPECT_EQ(keys[1].misses, 1);

    // The last result turned out otherwise: its row takes the new outcome, and only it.
    store.reset();
    results::GameResult corrected = Sample(2, 0);
    corrected.outcome = "failed";
    writer.CorrectLast(corrected);
    writer.Drain();
    store = results::HistoryStore::Open(path, false, why);
    ASSERT_TRUE(store) << why;
    const auto after = store->Recent("", 10);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[1].outcome, "passed");
    EXPECT_EQ(after[2].outcome, "failed");
}

// A history whose first page is sound but whose results are damaged is found out only as a result
// is written: the damaged file is kept aside and the result goes into a new one.
TEST(History, AResultThatFindsTheHistoryDamagedInsideGoesIntoANewOne) {
    testsupport::TempDir temp("glyphor-history-inside");
    const std::string path = temp.File("history.sqlite");
    std::string why;
    ASSERT_TRUE(results::HistoryStore::Open(path, true, why)) << why;
    {
        platform::DbFault fault{};
        auto db = platform::SqlDatabase::Open(path, false, fault, why);
        ASSERT_TRUE(db && db->Exec("INSERT INTO results(finished_at, game, level, keys, correct, wrong, duration_ms,"
                                   " outcome) WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n"
                                   " WHERE x < 2000) SELECT x, 'apple', '3', 1, 1, 0, 1000, 'passed' FROM n"))
            << why;
    }
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096);
        file << std::string(4096, '\xEE');
    }
    testing::internal::CaptureStderr();
    {
        results::HistoryWriter writer(path);
        writer.Add(Sample(5, 0));
        writer.Drain();
    }
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("a new history is started"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("not kept"), std::string::npos) << warnings;
    EXPECT_TRUE(platform::SqlDatabase::Exists(path + ".damaged"));
    auto store = results::HistoryStore::Open(path, false, why);
    ASSERT_TRUE(store) << why;
    const auto rows = store->Recent("", 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].correct, 5);
}

TEST(History, AFileThatCannotBeOpenedSaysWhy) {
    testsupport::TempDir temp("glyphor-history-why");
    platform::DbFault fault{};
    std::string why;
    EXPECT_FALSE(platform::SqlDatabase::Open(temp.File("gone/history.sqlite"), true, fault, why));
    EXPECT_NE(why.find("the folder " + temp.File("gone") + " does not exist"), std::string::npos) << why;

    const std::string deep =
        temp.File(std::string(200, 'a') + "/" + std::string(200, 'b') + "/" + std::string(120, 'c'));
    std::filesystem::create_directories(deep);
    EXPECT_FALSE(platform::SqlDatabase::Open(deep + "/history.sqlite", true, fault, why));
    EXPECT_NE(why.find("its path is longer than the 511 bytes"), std::string::npos) << why;
}

// The session ends (the display goes away) right after a race: the result it handed in is
// written before the program ends.
TEST(HistoryDeathTest, AResultHandedInJustBeforeTheDisplayIsLostIsStillWritten) {
    // Forked as it stands, so that the child writes into this test's folder.
    GTEST_FLAG_SET(death_test_style, "fast");
    testsupport::TempDir temp("glyphor-history-lost-display");
    const std::string path = temp.File("history.sqlite");
    EXPECT_EXIT(
        {
            results::ResultBook::Open(path);
            platform::WindowSystemWait::SetLastWork(&results::ResultBook::Close);
            results::ResultBook::Record(Sample(3, 2));
            platform::WindowSystemWait::EndForLostConnection();
        },
        testing::ExitedWithCode(1), "the connection to the display was lost");
    std::string why;
    auto store = results::HistoryStore::Open(path, false, why);
    ASSERT_TRUE(store) << why;
    const auto rows = store->Recent("", 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].correct, 3);
    EXPECT_EQ(rows[0].wrong, 2);
}

TEST(History, AFileOfTheFirstVersionWithoutTablesIsBroughtUpAndANewerOneIsLeftAlone) {
    testsupport::TempDir temp("glyphor-history-version");
    const std::string path = temp.File("history.sqlite");
    platform::DbFault fault{};
    std::string why;
    {
        auto db = platform::SqlDatabase::Open(path, true, fault, why);
        ASSERT_TRUE(db && db->Exec("CREATE TABLE unrelated(x)"));
    }
    // Read before its tables are made (an empty file a failed first write left), it holds nothing.
    std::string csv;
    EXPECT_TRUE(results::HistoryCsv::Export(path, csv, why)) << why;
    EXPECT_EQ(csv, results::HistoryCsv::Header());
    why.clear();
    EXPECT_TRUE(results::HistoryStore::Open(path, false, why)->Recent("", 5, &why).empty());
    EXPECT_EQ(why, "");
    auto store = results::HistoryStore::Open(path, true, why);
    ASSERT_TRUE(store) << why;
    EXPECT_TRUE(store->Append(Sample(1, 0), why)) << why;
    store.reset();
    {
        auto db = platform::SqlDatabase::Open(path, false, fault, why);
        ASSERT_TRUE(db && db->Exec("PRAGMA user_version = 99"));
    }
    EXPECT_FALSE(results::HistoryStore::Open(path, true, why));
    EXPECT_NE(why.find("newer"), std::string::npos) << why;
    EXPECT_FALSE(platform::SqlDatabase::Exists(path + ".damaged")) << "a newer file is not damaged";
}

// Draws many letters from a full pool, each given back, and counts them.
std::array<int, 26> Draws(int count) {
    std::array<int, 26> seen{};
    platform::Random::Seed(12345);
    std::u16string held = DrawLetter(u"");
    for (int i = 0; i < count; ++i) {
        const std::u16string next = DrawLetter(held);
        ++seen[static_cast<size_t>(next[0] - u'A')];
        held = next;
    }
    return seen;
}

// A paused round's typing time stops with it, across the 32-bit wrap of the clock too; a hold
// takes off only its time after the first key, and one asked for twice nothing more.
TEST(Tally, TimeThePlayerHeldTheGameItsWindowWasHiddenOrTheProgramWasStoppedIsNoTypingTime) {
    constexpr uint32_t kStart = 0xFFFFF000u;  // 4096 ms before the clock wraps
    results::Tally tally;
    tally.Hold(kStart - 9000);
    tally.Count(u'A', true, kStart);
    tally.GoOn(kStart + 500);  // 500 ms held after the first key
    tally.Count(u'B', false, kStart + 1000);
    tally.Hold(kStart + 1000);
    tally.Hold(kStart + 30000);
    EXPECT_EQ(tally.DurationTo(kStart + 61000), 500);
    tally.GoOn(kStart + 61000);
    tally.GoOn(kStart + 62000);
    EXPECT_EQ(tally.DurationTo(kStart + 63000), 2500);
    // Paused, then hidden, then shown while still paused: the time counts again only once both
    // have ended.
    using Why = results::Tally::HoldReason;
    tally.Hold(kStart + 63000);
    tally.Hold(kStart + 64000, Why::kHidden);
    tally.GoOn(kStart + 70000, Why::kHidden);
    EXPECT_EQ(tally.DurationTo(kStart + 80000), 2500);
    tally.GoOn(kStart + 80000);
    EXPECT_EQ(tally.DurationTo(kStart + 81000), 3500);
    // The program was stopped for 10 s: that time is left out, and a stop while held leaves
    // nothing more out.
    tally.Skip(kStart + 82000, kStart + 92000);
    EXPECT_EQ(tally.DurationTo(kStart + 93000), 5500);
    tally.Hold(kStart + 93000);
    tally.Skip(kStart + 94000, kStart + 99000);
    tally.GoOn(kStart + 100000);
    EXPECT_EQ(tally.DurationTo(kStart + 100000), 5500);
    // A stop told after the hold that covered it ended takes off only its time after the hold.
    tally.Skip(kStart + 93000, kStart + 101000);
    EXPECT_EQ(tally.DurationTo(kStart + 101000), 5500);
    tally.Reset();
    EXPECT_EQ(tally.DurationTo(kStart), 0);
    // A stop before the first key, or one that ends with it, leaves out nothing of the round.
    tally.Skip(kStart, kStart + 5000);
    tally.Count(u'A', true, kStart + 5000);
    tally.Skip(kStart, kStart + 5000);
    EXPECT_EQ(tally.DurationTo(kStart + 6000), 1000);
}

// The records: a round left without a key has no speed or accuracy to count, and a result with
// a miss never shows as 100.0 %.
TEST(Records, ARoundWithoutKeysCountsInNoBestOrAverageAndAMissNeverShowsAsAHundred) {
    const results::RecordsSummary s =
        results::RecordsSummary::Of({Sample(100, 0), results::GameResult{}, Sample(1999, 1)}, {});
    EXPECT_EQ(results::PercentText(s.bestAccuracy), "100.0");
    EXPECT_EQ(results::PercentText(s.averageAccuracy), "99.9");
    EXPECT_DOUBLE_EQ(s.averageSpeed, (1000.0 + 19990.0) / 2);
    EXPECT_EQ(results::PercentText(Sample(1999, 1).AccuracyPercent()), "99.9");
    EXPECT_EQ(results::PercentText(100.0 * 7 / 10), "70.0");
    EXPECT_EQ(results::PercentText(0), "0.0");
    EXPECT_EQ(results::RecordsSummary::Of({results::GameResult{}}, {}).averageAccuracy, 0.0);
    // A sign typed with Shift counts on the key of its plain sign, as a capital on its letter.
    const results::RecordsSummary keys = results::RecordsSummary::Of({}, {{u'"', 2, 1}, {u'\'', 2, 0}, {u'?', 3, 3}});
    EXPECT_EQ(keys.KeyOnBoard(u'\'').presses, 4);
    EXPECT_EQ(keys.KeyOnBoard(u'\'').misses, 1);
    EXPECT_EQ(keys.KeyOnBoard(u'/').misses, 3);
    // A round's own panel shows no accuracy for it either.
    EXPECT_EQ(results::ResultPanel::Lines(results::GameResult{})[1], u"正确率 —");
    EXPECT_EQ(results::ResultPanel::Lines(Sample(1999, 1))[1], u"正确率 99.9%");
    EXPECT_EQ(results::PercentText(100.0 * 999999999 / 1000000000), "99.9");

    // Keys typed in no time (a one-character race text) say nothing of speed.
    results::GameResult timeless = Sample(1, 0);
    timeless.durationMs = 0;
    EXPECT_DOUBLE_EQ(results::RecordsSummary::Of({Sample(100, 0), timeless}, {}).averageSpeed,
                     Sample(100, 0).CharsPerMinute());
    EXPECT_EQ(results::ResultPanel::Lines(timeless)[0], u"速度 —");
    // A capital and its small letter are one key, as on the records' keyboard.
    results::GameResult race = Sample(1, 0);
    race.keys = {{u'T', 4, 2}, {u'a', 6, 3}, {u't', 4, 2}, {u'?', 1, 1}};
    EXPECT_EQ(race.MostMissed(2), (std::vector<char16_t>{u't', u'a'}));
    EXPECT_EQ(results::ResultPanel::Lines(race)[2], u"错得最多的键：T  A  /");
}

// A race text named like a formula is exported as text a spreadsheet shows, not runs.
TEST(Records, AFieldThatLooksLikeAFormulaIsExportedAsText) {
    results::GameResult r = Sample(3, 1);
    for (const auto& [level, field] :
         {std::pair<std::string, std::string>{"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
          {"-2+3", "\"'-2+3\""},
          {"a,b", "\"a,b\""},
          {"3", "3"}}) {
        r.level = level;
        const std::string line = results::HistoryCsv::Line(r);
        EXPECT_NE(line.find(",apple," + field + ",4,3,1,"), std::string::npos) << line;
    }
}

TEST(WeakKeys, AMissedLetterIsDrawnMoreOftenEveryLetterStaysAndOffDrawsEvenly) {
    // Q missed on every other press, E once in ten; the rest never.
    std::vector<results::KeyCount> totals{{u'E', 10, 1}, {u'Q', 10, 5}, {u'a', 20, 0}};
    const results::WeakKeys::Weights weights = results::WeakKeys::WeightsFrom(totals);
    EXPECT_DOUBLE_EQ(weights[0], 1.0);
    EXPECT_GT(weights['Q' - 'A'], weights['E' - 'A']);

    ResetLetterPool();
    results::WeakKeys::UseRoundWeights(&weights);
    const auto practised = Draws(52000);
    ResetLetterPool();
    EXPECT_EQ(results::WeakKeys::RoundWeights(), nullptr) << "a new pool draws evenly until a round asks";
    const auto even = Draws(52000);

    const int q = 'Q' - 'A';
    const int e = 'E' - 'A';
    for (int i = 0; i < 26; ++i) {
        EXPECT_GT(practised[static_cast<size_t>(i)], 500) << static_cast<char>('A' + i) << " is still drawn";
        if (i != q && i != e) {
            EXPECT_LT(practised[static_cast<size_t>(i)], practised[q] / 3);
        }
        // Off: about 2,000 each (the pool of 25 left gives one letter at a time).
        EXPECT_NEAR(even[static_cast<size_t>(i)], 2000, 300) << static_cast<char>('A' + i);
    }
    EXPECT_GT(practised[e], practised['A' - 'A']);
}

TEST(WeakKeys, TheChoiceIsKeptInItsOwnFileAndOffGivesNoWeights) {
    testsupport::TempDir temp("glyphor-weak-keys");
    const std::filesystem::path root = temp.Path();
    std::filesystem::create_directories(root / "Game");
    platform::SetProgramFolder(root.string());
    results::WeakKeys::PrepareRound();
    EXPECT_FALSE(results::WeakKeys::Enabled()) << "off by default";
    EXPECT_EQ(results::WeakKeys::RoundWeights(), nullptr);
    ASSERT_TRUE(results::WeakKeys::SetEnabled(true));
    results::WeakKeys::PrepareRound();
    EXPECT_NE(results::WeakKeys::RoundWeights(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(results::WeakKeys::OptionFile()));
    EXPECT_FALSE(std::filesystem::exists(root / "Game" / "Setting.DAT"));
    ASSERT_TRUE(results::WeakKeys::SetEnabled(false));
    results::WeakKeys::PrepareRound();
    EXPECT_EQ(results::WeakKeys::RoundWeights(), nullptr);

    // Edited by hand: without its line end, with a carriage return, or saved with a mark.
    for (const char* text : {"weak-key-practice 1", "weak-key-practice 1\r\n", "\xEF\xBB\xBFweak-key-practice 1 \n"}) {
        std::ofstream(results::WeakKeys::OptionFile(), std::ios::binary | std::ios::trunc) << text;
        results::WeakKeys::Forget();
        EXPECT_TRUE(results::WeakKeys::Enabled()) << text;
    }
    std::ofstream(results::WeakKeys::OptionFile(), std::ios::binary | std::ios::trunc) << "weak-key-practice 10";
    results::WeakKeys::Forget();
    EXPECT_FALSE(results::WeakKeys::Enabled());
    results::WeakKeys::Forget();
}

}  // namespace
