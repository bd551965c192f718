// The real program played through scripts in a program folder of its own: a race with known
// wrong keys and a round of every letter game and a space game each leave one row in the
// history, read back through the CSV export the program writes without a display; a damaged
// history file is moved aside and play goes on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"
#include "results/HistoryStore.h"
#include "shell/Settings.h"
#include "tests/police/ScriptedProgram.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using scripted::Centre;
using scripted::kDist;

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, at)) parts.push_back(part);
    return parts;
}

class ResultsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        dir_ = temp_.Path();
        fs::create_directories(dir_ / "Game");
        fs::copy_file(kDist + "/glyphor_police", dir_ / "glyphor_police");
        for (const char* pack : {"GameRes.DLL", "GameSnd.DLL"})
            fs::create_symlink(kDist + "/Game/" + pack, dir_ / "Game" / pack);
        fs::copy(kDist + "/Data", dir_ / "Data", fs::copy_options::recursive);
        platform::SetProgramFolder(dir_.string());
        g_Settings = DefaultSettings();
    }

    int Play(const std::string& script, const std::string& args = "--menu") {
        const auto run = testsupport::PlayScript(dir_ / "glyphor_police", dir_, script, args, 31);
        output_ += run.output;
        return run.status;
    }
    // Runs the export with no display at all, its output going to stdout.txt (added to its end
    // with `append`); returns its exit status.
    int Export(const std::string& target, bool append = false) {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                    (dir_ / "glyphor_police").string() + " --export-history " + target +
                                    (append ? " >> " : " > ") + (dir_ / "stdout.txt").string() + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The exported rows (the header first), each split into its fields.
    std::vector<std::vector<std::string>> ExportedRows() {
        EXPECT_EQ(Export((dir_ / "history.csv").string()), 0) << FileText("stdout.txt");
        std::vector<std::vector<std::string>> rows;
        for (std::string line : Split(FileText("history.csv"), '\n')) {
            EXPECT_FALSE(line.empty() || line.back() != '\r') << "CRLF line ends";
            if (!line.empty()) line.pop_back();
            rows.push_back(Split(line, ','));
        }
        return rows;
    }
    std::string FileText(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string Shot(const std::string& name) const { return (dir_ / name).string(); }
    fs::path History() const { return dir_ / "Game" / "history.sqlite"; }

    testsupport::TempDir temp_{"glyphor-results-e2e"};
    fs::path dir_;
    std::string output_;
};

const char* const kHeader = "finished_at,game,level,keys,correct,wrong,duration_ms,chars_per_minute,accuracy,outcome";

// A key that is not `expected`.
char WrongFor(char expected) { return expected == 'q' ? 'x' : 'q'; }

TEST_F(ResultsEndToEnd, ARaceWithKnownWrongKeysIsExportedWithExactlyThoseCountsPastADamagedHistory) {
    const scripted::Choice choice = scripted::ChooseText(false);
    ASSERT_GE(choice.row, 0) << "no plain race text in the program folder";
    const std::string& text = choice.text;
    ASSERT_GE(text.size(), 3u);
    const std::string garbage = "these bytes are no database at all, and they are kept as they are";
    std::ofstream(History(), std::ios::binary) << garbage;

    // The thief types the text with one wrong key before its second character and two before
    // its third; a Backspace and a Tab on the way, and the key after the whole text that ends
    // the race, count neither way.
    std::string script = "frames 3\nclick " + Centre("POLICE_MAINMENU_SINGLE", 3, 437, 336) + "\nframes 2\n";
    script += "click " + Centre("POLICE_THIEF", 4, 295, 20) + "\nclick " + Centre("POLICE_BIKE", 4, 430, 220) +
              "\nclick " + scripted::TextRow(choice.row) + "\nclick " + Centre("POLICE_START", 3, 210, 545) +
              "\nframes 2\n";
    script += std::string("type ") + text[0] + "\nframes 1\nkey backspace\nkey tab\nframes 1\ntype " +
              WrongFor(text[1]) + "\nframes 1\ntype " + text[1] + "\nframes 1\ntype " + WrongFor(text[2]) +
              WrongFor(text[2]) + "\nframes 1\n";
    script += "type " + text.substr(2) + "\nframes 2\nkey z\nframes 3\nsnapshot " + Shot("won.png") + "\n";
    ASSERT_EQ(Play(script, ""), 0) << output_;

    EXPECT_EQ(FileText("Game/history.sqlite.damaged"), garbage) << "the damaged file is kept aside";
    EXPECT_NE(output_.find("kept as " + History().string() + ".damaged and a new history is started"),
              std::string::npos)
        << output_;
    const auto rows = ExportedRows();
    ASSERT_EQ(rows.size(), 2u) << FileText("history.csv");
    EXPECT_EQ(FileText("history.csv").substr(0, std::string(kHeader).size()), kHeader);
    const std::vector<std::string>& row = rows[1];
    ASSERT_EQ(row.size(), 10u);
    const int length = static_cast<int>(text.size());
    EXPECT_EQ(row[1], "race");
    EXPECT_EQ(row[3], std::to_string(length + 3));
    EXPECT_EQ(row[4], std::to_string(length));
    EXPECT_EQ(row[5], "3");
    EXPECT_EQ(row[9], "won");
    const double durationMs = std::stod(row[6]);
    ASSERT_GT(durationMs, 0);
    char figures[64];
    std::snprintf(figures, sizeof figures, "%.1f", length * 60000.0 / durationMs);
    EXPECT_EQ(row[7], figures);
    // Accuracy to a tenth, rounded down: a miss never shows as 100.0.
    std::snprintf(figures, sizeof figures, "%.1f", (1000 * length / (length + 3)) / 10.0);
    EXPECT_EQ(row[8], figures);
    EXPECT_EQ(row[0].size(), 20u) << "ISO 8601 in UTC: " << row[0];
    EXPECT_EQ(row[0].back(), 'Z');

    // The per-key counts name the keys that were wanted when the wrong ones came.
    std::string why;
    auto store = results::HistoryStore::Open(History().string(), false, why);
    ASSERT_TRUE(store) << why;
    int misses = 0;
    for (const results::KeyCount& k : store->KeyTotals("race", 1)) {
        misses += k.misses;
        if (text[1] == text[2]) continue;
        if (k.key == text[1]) {
            EXPECT_EQ(k.misses, 1);
        }
        if (k.key == text[2]) {
            EXPECT_EQ(k.misses, 2);
        }
    }
    EXPECT_EQ(misses, 3);

    // Standard output takes the same text.
    ASSERT_EQ(Export("-"), 0);
    EXPECT_EQ(FileText("stdout.txt"), FileText("history.csv"));
    // So does a pipe named as the file (a process substitution, /dev/stdout), which stays a pipe.
    // The test holds both of its ends, so nothing waits; the text is small enough for its buffer.
    const std::string pipe = (dir_ / "pipe.csv").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int pipeFd = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(pipeFd, 0);
    EXPECT_EQ(Export(pipe), 0) << FileText("stdout.txt");
    std::string piped;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFd, buffer, sizeof buffer)) > 0;) piped.append(buffer, static_cast<size_t>(n));
    close(pipeFd);
    EXPECT_EQ(piped, FileText("history.csv"));
    // /dev/stdout added to a log is written on as the log was opened, not put in its place.
    std::ofstream(dir_ / "stdout.txt") << "before\n";
    EXPECT_EQ(Export("/dev/stdout", true), 0);
    EXPECT_EQ(FileText("stdout.txt"), "before\n" + FileText("history.csv"));
    EXPECT_TRUE(fs::is_fifo(pipe));

    // The history is never written over by its own export, under any spelling; an option where
    // the file name belongs is a usage error, not a file.
    const std::string before = FileText("Game/history.sqlite");
    fs::create_symlink(History(), dir_ / "link.csv");
    // Nor is the program, or its pack, in a program folder the player can write to, whatever
    // folder link it is named through.
    const fs::path linked = fs::temp_directory_path() / ("glyphor-export-link-" + std::to_string(getpid()));
    fs::remove(linked);
    fs::create_directory_symlink(dir_, linked);
    for (const std::string& target :
         {History().string(), (dir_ / "Game" / ".." / "link.csv").string(), (dir_ / "glyphor_police").string(),
          (dir_ / "Game" / "GameRes.DLL").string(), (linked / "Game" / "GameRes.DLL").string()}) {
        EXPECT_EQ(Export(target), 1) << target;
        EXPECT_NE(FileText("stdout.txt").find("the game's own"), std::string::npos) << FileText("stdout.txt");
    }
    EXPECT_EQ(FileText("Game/history.sqlite"), before);
    // Nor a name not there yet in the game's folders, but for a .csv export.
    for (const fs::path& target : {dir_ / "Game" / "history.sqlite-journal", dir_ / "Game" / "notes.txt"}) {
        EXPECT_EQ(Export(target.string()), 1) << target;
        EXPECT_NE(FileText("stdout.txt").find("the game's own folder"), std::string::npos) << FileText("stdout.txt");
        EXPECT_FALSE(fs::exists(target));
    }
    fs::remove(linked);
    // A file-size limit makes a write that fails with a message, not an end by the system's signal.
    const std::string limited = "( ulimit -f 0; env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                (dir_ / "glyphor_police").string() + " --export-history " +
                                (dir_ / "limited.csv").string() + "; echo \"status $?\" ) 2>&1 | cat > " +
                                (dir_ / "stdout.txt").string();
    ASSERT_EQ(std::system(limited.c_str()), 0);
    EXPECT_NE(FileText("stdout.txt").find("cannot write"), std::string::npos) << FileText("stdout.txt");
    EXPECT_NE(FileText("stdout.txt").find("status 1\n"), std::string::npos) << FileText("stdout.txt");
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    EXPECT_EQ(Export("--menu"), 2);
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(dir_ / "--menu"));
}

TEST_F(ResultsEndToEnd, EveryLetterGameRoundAndASpaceGameLeaveOneRowEach) {
    // Apples: three letters typed, the exit question left open for 30 s and answered "stay", then
    // the fifth apple on the ground (the fewest the settings take) loses the round.
    g_Settings.Field[kAppleFail] = 5;
    g_Settings.Field[kMoleTime] = 30;
    g_Settings.Field[kMoleInterval] = 0;
    g_Settings.Field[kMoleStay] = 1;
    g_Settings.Field[kFrogCourse] = 0;
    g_Settings.Field[kSpaceCount] = 15;
    g_Settings.Field[kSpaceSpeed] = 10;
    g_Settings.Field[kSpaceBonus] = 0;
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    ASSERT_EQ(Play("frames 2\nkey 5\nframes 2\nclick " + Centre("PUBLIC_START", 4, 196, 524) +
                   "\nframes 2\ntype abc\nclick 59 556\nframes 1500\nkey Esc\nframes 900\nsnapshot " +
                   Shot("apple.png") + "\nkey Esc\nframes 2\n"),
              0)
        << output_;
    // Moles: nothing hit (a digit misses as a letter does), 30 s paused, the radishes are eaten.
    ASSERT_EQ(Play("frames 2\nkey 3\nframes 2\nclick " + Centre("PUBLIC_START", 4, 485, 524) +
                   "\nframes 2\ntype xy7\nclick 430 530\nframes 1500\nclick 430 530\nframes 400\nsnapshot " +
                   Shot("mole.png") + "\nkey Esc\nframes 2\n"),
              0)
        << output_;
    // Frogs: every word of this course is a doubled letter, so typing each in turn crosses.
    const fs::path course = dir_ / "Data" / "English" / "T_WORD" / "Dictionary";
    fs::create_directories(course);
    std::ofstream words(course / "Grade.ID", std::ios::binary);
    std::string keys;
    for (char c = 'a'; c <= 'z'; ++c) {
        const char record[] = {0, 0, 0, 0, 2, 0, c, c, 0, 0, 0, 0};
        words.write(record, sizeof record);
        keys += std::string(2, c);
    }
    words.close();
    std::string frog = "frames 2\nkey 4\nframes 2\nclick " + Centre("FROG_START", 4, 193, 523) + "\nframes 2\n";
    for (int pass = 0; pass < 20; ++pass) frog += "type " + keys + "\n";
    ASSERT_EQ(Play(frog + "frames 2\nsnapshot " + Shot("frog.png") + "\nkey Esc\nframes 2\n"), 0) << output_;
    // Space: fifteen fast enemies wear the ship down.
    ASSERT_EQ(Play("frames 2\nkey 2\nframes 2\nclick " + Centre("SPACE_START", 3, 257, 287) +
                   "\nframes 40\ntype qwerty\nframes 3000\nsnapshot " + Shot("space.png") + "\n"),
              0)
        << output_;

    const auto rows = ExportedRows();
    ASSERT_EQ(rows.size(), 5u) << FileText("history.csv") << output_;
    const char* const games[] = {"apple", "mole", "frog", "space"};
    const char* const outcomes[] = {"failed", "failed", "passed", "over"};
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_EQ(rows[i + 1].size(), 10u);
        EXPECT_EQ(rows[i + 1][1], games[i]);
        EXPECT_EQ(rows[i + 1][9], outcomes[i]);
        EXPECT_EQ(std::stoi(rows[i + 1][3]), std::stoi(rows[i + 1][4]) + std::stoi(rows[i + 1][5]));
    }
    EXPECT_EQ(rows[1][3], "3") << "three letters typed at the apples";
    EXPECT_EQ(rows[2][3], "3") << "three keys typed at the moles, as the board counts them";
    for (size_t i : {1, 2})
        EXPECT_LT(std::stoi(rows[i][6]), 25000) << "held time counted as typing time: " << games[i - 1];
    EXPECT_GE(std::stoi(rows[3][4]), 5 * 3 * 2) << "five crossings of three two-letter words";
    EXPECT_EQ(rows[4][3], "6") << "six letters typed at the enemies";
}

}  // namespace
