// The real program installed as `cmake --install` lays it out (bin/, share/glyphor/) and played
// by a user with a HOME of their own: it finds its data relative to its executable, keeps the
// settings in the user's XDG folder, made with mode 0700, and writes nothing under its prefix.
// Without its data it names the folders it looked in and ends with status 1.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "tests/support/TempDir.h"

namespace shelltest {
namespace {

namespace fs = std::filesystem;

const std::string kDist = GLYPHOR_DIST_DIR;

// Every path below `folder` with its size and change time.
std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat st {};
        lstat(entry.path().c_str(), &st);
        entries.insert(entry.path().string() + " " + std::to_string(st.st_size) + " " +
                       std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec));
    }
    return entries;
}

uint32_t Mode(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class InstalledCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/Game/GameRes.DLL")) << "the packs are built by the assets target";
        const std::string data = prefix_ + "share/glyphor/";
        fs::create_directories(prefix_ + "bin");
        fs::create_directories(data + "Game");
        fs::copy_file(kDist + "/glyphor_police", prefix_ + "bin/glyphor_police");
        for (const char* pack : {"GameRes.DLL", "GameSnd.DLL"}) {
            fs::create_symlink(kDist + "/Game/" + pack, data + "Game/" + pack);
        }
        fs::copy(kDist + "/Data", data + "Data", fs::copy_options::recursive);
        fs::create_directories(home_);
    }

    ChildResult Run(const std::string& program, const std::string& script, std::vector<std::string> env = {}) {
        std::ofstream(temp_.File("script.txt")) << script;
        for (const char* name : {"XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "GLYPHOR_DATA_DIR="}) env.emplace_back(name);
        env.push_back("HOME=" + home_);
        env.push_back("GLYPHOR_SCRIPT=" + temp_.File("script.txt"));
        env.push_back("GLYPHOR_INSTANCE=installed-" + std::to_string(getpid()));
        env.push_back("SDL_VIDEODRIVER=offscreen");
        env.push_back("GLYPHOR_WINDOWED=1");
        return RunChild(program, env, std::chrono::seconds(120), temp_.File("stderr.txt"));
    }
    std::string Errors() const { return temp_.Read("stderr.txt"); }

    testsupport::TempDir temp_{"glyphor-installed"};
    const std::string prefix_ = temp_.Path() + "prefix/";
    const std::string home_ = temp_.Path() + "home";
};

TEST_F(InstalledCopyTest, KeepsThePlayersSettingsInTheirConfigFolderAndWritesNothingUnderItsPrefix) {
    const std::set<std::string> before = Listing(prefix_);
    // The space shooter's settings page: the bonus check box off, OK, and "take effect now".
    const ChildResult run = Run(prefix_ + "bin/glyphor_police",
                                "frames 2\nopen setup 4\nframes 2\nclick 303 318\nframes 2\nkey Enter\n"
                                "frames 2\nkey Enter\nframes 2\n");
    ASSERT_TRUE(run.finished) << Errors();
    ASSERT_EQ(run.exitCode, 0) << Errors();
    EXPECT_EQ(Listing(prefix_), before) << "written under the prefix";

    const std::string config = home_ + "/.config/glyphor/";
    const std::string bytes = testsupport::TempDir::ReadFile(config + "Setting.DAT");
    ASSERT_GE(bytes.size(), 46u) << Errors();
    const size_t text = static_cast<uint8_t>(bytes[0]) | static_cast<size_t>(static_cast<uint8_t>(bytes[1])) << 8;
    ASSERT_EQ(bytes.size(), 2 + text + 44);
    EXPECT_EQ(bytes.substr(2 + text + 40), std::string(4, '\0')) << "the bonus mode is off";
    EXPECT_EQ(Errors().find("设置无法保存"), std::string::npos) << Errors();
    for (const std::string& folder : {home_ + "/.config", config, home_ + "/.local/share/glyphor/texts/"}) {
        EXPECT_EQ(Mode(folder), 0700u) << folder;
    }
}

TEST_F(InstalledCopyTest, WithoutItsDataItNamesTheFoldersItLookedInAndEndsWithStatus1) {
    const std::string lonely = temp_.Path() + "lonely/";
    fs::create_directories(lonely);
    fs::copy_file(kDist + "/glyphor_police", lonely + "glyphor_police");
    ChildResult run = Run(lonely + "glyphor_police", "frames 2\n");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    const std::string told = Errors();
    EXPECT_NE(told.find(lonely + " " + lonely + "../share/glyphor/"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;

    // A data folder named by the environment is the only one looked in.
    const std::string nowhere = temp_.Path() + "nowhere";
    run = Run(prefix_ + "bin/glyphor_police", "frames 2\n", {"GLYPHOR_DATA_DIR=" + nowhere});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(Errors().find("none of: " + nowhere + "/ (set GLYPHOR_DATA_DIR"), std::string::npos) << Errors();
}

TEST_F(InstalledCopyTest, PlayerFilesLeftInTheDataFolderAreTakenOverOnlyWhereThePlayerHasNone) {
    // What a copy of the program folder kept while it could be written, now read-only.
    const std::string game = prefix_ + "share/glyphor/Game/";
    std::ofstream(game + "Setting.DAT") << "old settings";
    std::ofstream(game + "space.hi") << "old scores";
    std::ofstream(game + "history.sqlite") << "old history";
    const std::string journalHead = "\xd9\xd5\x05\xf9\x20\xa1\x63\xd7";
    std::ofstream(game + "history.sqlite-journal") << journalHead << "half a change";
    const std::string config = home_ + "/.config/glyphor/";
    fs::create_directories(config);
    std::ofstream(config + "Setting.DAT") << "own settings";
    const std::set<std::string> before = Listing(prefix_);

    const ChildResult run = Run(prefix_ + "bin/glyphor_police", "frames 2\n");
    ASSERT_TRUE(run.finished) << Errors();
    EXPECT_EQ(Listing(prefix_), before);
    const std::string data = home_ + "/.local/share/glyphor/";
    EXPECT_EQ(testsupport::TempDir::ReadFile(config + "Setting.DAT"), "own settings");
    EXPECT_EQ(testsupport::TempDir::ReadFile(data + "space.hi"), "old scores");
    EXPECT_NE(Errors().find(data + "space.hi is taken over from " + game + "space.hi"), std::string::npos) << Errors();
    // A database with half a change beside it would be read without the change's undoing.
    EXPECT_NE(testsupport::TempDir::ReadFile(data + "history.sqlite"), "old history");
    EXPECT_NE(Errors().find("a change to it is unfinished"), std::string::npos) << Errors();

    // A journal a stopped program left zeroed holds no change: the history is taken over.
    std::ofstream(game + "history.sqlite-journal") << std::string(512, '\0');
    fs::remove(data + "history.sqlite");
    ASSERT_TRUE(Run(prefix_ + "bin/glyphor_police", "frames 2\n").finished) << Errors();
    EXPECT_EQ(testsupport::TempDir::ReadFile(data + "history.sqlite"), "old history") << Errors();
}

}  // namespace
}  // namespace shelltest
