// The real program's records screen over a seeded history: key 6 on the main menu opens it, Right
// shows the next game, Esc goes back to the very menu it came from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "results/HistoryStore.h"
#include "results/RecordsSummary.h"
#include "tests/police/ScriptedProgram.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A race result typed at `cpm` keys a minute, missing 'q' `misses` times out of ten.
results::GameResult Race(int i, int misses) {
    results::GameResult r;
    r.finishedAtMs = 1700000000000 + i * 60000;
    r.game = "race";
    r.level = "text";
    r.correct = 100 + 10 * i;
    r.wrong = misses;
    r.durationMs = 60000;
    r.outcome = "won";
    r.keys = {{u'q', 10, misses}, {u'a', 20, 0}};
    return r;
}

TEST(RecordsScreenEndToEnd, KeySixOpensTheRecordsOfASeededHistoryAndEscReturnsToTheMenu) {
    testsupport::TempDir temp{"glyphor-records-e2e"};
    const fs::path dir = temp.Path();
    ASSERT_TRUE(fs::exists(scripted::kDist + "/glyphor_police"));
    fs::create_directories(dir / "Game");
    fs::copy_file(scripted::kDist + "/glyphor_police", dir / "glyphor_police");
    for (const char* pack : {"GameRes.DLL", "GameSnd.DLL"})
        fs::create_symlink(scripted::kDist + "/Game/" + pack, dir / "Game" / pack);
    fs::copy(scripted::kDist + "/Data", dir / "Data", fs::copy_options::recursive);
    platform::SetProgramFolder(dir.string());

    const std::string history = (dir / "Game" / "history.sqlite").string();
    {
        std::string why;
        auto store = results::HistoryStore::Open(history, true, why);
        ASSERT_TRUE(store) << why;
        for (int i = 0; i < 60; ++i) ASSERT_TRUE(store->Append(Race(i, i % 4), why)) << why;
    }
    // What the screen shows of the races: the last 50, the best of them and their average.
    const results::RecordsSummary races = results::RecordsSummary::Load(history, "race");
    ASSERT_EQ(races.recent.size(), 50u);
    EXPECT_EQ(races.recent.front().correct, 200) << "oldest first, from the eleventh result";
    EXPECT_DOUBLE_EQ(races.bestSpeed, 690.0);
    EXPECT_DOUBLE_EQ(races.averageSpeed, 445.0);
    EXPECT_EQ(races.KeyOnBoard(u'Q').presses, 600) << "upper and lower case on one key";
    EXPECT_TRUE(results::RecordsSummary::Load(history, "apple").recent.empty());
    EXPECT_TRUE(results::RecordsSummary::Load(history, "apple").unreadable.empty());
    // A history that is there but cannot be read is not taken for one without results.
    std::ofstream((dir / "not-a-history").string()) << "these bytes are no database";
    EXPECT_NE(results::RecordsSummary::Load((dir / "not-a-history").string(), "race").unreadable, "");
    EXPECT_EQ(results::RecordsSummary::Load((dir / "absent").string(), "race").unreadable, "");
    // So is one damaged inside, past a sound first page.
    const fs::path broken = dir / "broken-history";
    fs::copy_file(history, broken);
    {
        std::fstream file(broken, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096);
        file << std::string(4096, '\xEE');
    }
    EXPECT_NE(results::RecordsSummary::Load(broken.string(), "race").unreadable, "");

    const auto shot = [&](const char* name) { return (dir / name).string(); };
    const std::string script = std::string("frames 3\nsnapshot ") + shot("menu.png") + "\nkey 6\nframes 2\nsnapshot " +
                               shot("records.png") + "\nkey Right\nframes 2\nsnapshot " + shot("space.png") +
                               "\nkey Esc\nframes 3\nsnapshot " + shot("back.png") + "\n";
    const auto run = testsupport::PlayScript(dir / "glyphor_police", dir, script, "--menu", 31);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string menu = FileText(dir / "menu.png");
    const std::string records = FileText(dir / "records.png");
    const std::string space = FileText(dir / "space.png");
    ASSERT_FALSE(menu.empty());
    ASSERT_FALSE(records.empty());
    EXPECT_NE(records, menu);
    EXPECT_NE(space, records) << "another game, another chart";
    EXPECT_EQ(FileText(dir / "back.png"), menu) << "Esc leads back to the menu";

    // The keyboard: Q, missed in 15% of its presses, A never missed, 1 never pressed, each
    // in a colour of its own; on the next game every key is unpressed.
    const auto picture = [](const std::string& bytes) {
        return platform::LoadPng(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    };
    const auto shown = picture(records);
    const auto other = picture(space);
    ASSERT_TRUE(shown && other);
    const uint32_t q = shown->ReadPixel(205, 420);
    const uint32_t a = shown->ReadPixel(218, 458);
    const uint32_t one = shown->ReadPixel(193, 381);
    EXPECT_NE(q, a);
    EXPECT_NE(q, one);
    EXPECT_NE(a, one);
    EXPECT_EQ(other->ReadPixel(205, 420), one);
    EXPECT_EQ(other->ReadPixel(218, 458), one);

    // The legend's marks are in the chart's colours, and no grid line runs through the message of
    // a game without results.
    const auto count = [](const platform::Surface& s, platform::Rect r, uint32_t bgr) {
        int n = 0;
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x) n += s.ReadPixel(x, y) == platform::Surface::RawFromBgr(bgr);
        return n;
    };
    EXPECT_GE(count(*shown, {60, 290, 400, 308}, 0xD08040), 50) << "the speed bars' blue";
    EXPECT_GE(count(*shown, {60, 290, 400, 308}, 0x2020D0), 16) << "the accuracy marks' red";
    EXPECT_EQ(count(*other, {300, 186, 420, 226}, 0xC8D0D0), 0);
    EXPECT_GT(count(*other, {100, 186, 280, 226}, 0xC8D0D0), 100) << "the grid, beside the message";
}

}  // namespace
