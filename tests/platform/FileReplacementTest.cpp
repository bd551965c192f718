// Replacing a file whole, the one way the game and the advertising module both use: the rules
// it keeps (permission bits, read-only files, links, folders) and the temporary files of saves
// killed part-way, which never stay behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "platform/FileReplacement.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::ReplaceFileContents;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

TEST(FileReplacementTest, KeepsPermissionsLinksAndFilesNobodyMayWrite) {
    testsupport::TempDir dir;
    const mode_t oldMask = umask(027);
    std::string why;
    ASSERT_TRUE(ReplaceFileContents(dir.File("new"), "one", &why)) << why;
    EXPECT_EQ(ModeOf(dir.File("new")), 0640u) << "a new file: 0666 less the umask";
    umask(oldMask);

    dir.Write("private", "old");
    chmod(dir.File("private").c_str(), 0600);
    ASSERT_TRUE(ReplaceFileContents(dir.File("private"), "new"));
    EXPECT_EQ(ModeOf(dir.File("private")), 0600u);
    EXPECT_EQ(testsupport::TempDir::ReadFile(dir.File("private")), "new");

    // A link is followed: the file it names is replaced and the link stays.
    fs::create_symlink(dir.File("private"), dir.File("link"));
    ASSERT_TRUE(ReplaceFileContents(dir.File("link"), "through the link"));
    EXPECT_TRUE(fs::is_symlink(dir.File("link")));
    EXPECT_EQ(testsupport::TempDir::ReadFile(dir.File("private")), "through the link");

    // Nobody may write it: left alone, with the reason, whoever runs the test.
    dir.Write("locked", "kept");
    chmod(dir.File("locked").c_str(), 0444);
    EXPECT_FALSE(ReplaceFileContents(dir.File("locked"), "lost", &why));
    EXPECT_EQ(why, "the file is read-only");
    EXPECT_EQ(testsupport::TempDir::ReadFile(dir.File("locked")), "kept");
    fs::create_directory(dir.File("folder"));
    EXPECT_FALSE(ReplaceFileContents(dir.File("folder"), "x", &why));
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"new", "private", "link", "locked", "folder"}));

    // A file that cannot be made because its folder is missing, or is a file, says which folder.
    EXPECT_FALSE(ReplaceFileContents(dir.File("gone/deeper/file"), "x", &why));
    EXPECT_EQ(why, "the folder " + dir.File("gone") + " does not exist");
    EXPECT_FALSE(ReplaceFileContents(dir.File("locked/file"), "x", &why));
    EXPECT_EQ(why, dir.File("locked") + " is not a folder");
}

// Saves killed at random moments leave the old file or the new one, whole, and no temporary
// file survives the next save. Names of the save's pattern from a process that is gone are
// removed; everything else is left: other files' temporaries, names of another form, and those
// of processes still running.
TEST(FileReplacementTest, SavesKilledPartWayLeaveNoTemporaryFileBehind) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Setting.DAT");
    const std::string oldText(300000, 'o');
    const std::string newText(300000, 'n');
    ASSERT_TRUE(ReplaceFileContents(path, oldText));
    std::mt19937 random(29);
    pid_t dead = 0;
    for (int kill = 0; kill < 30; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) ReplaceFileContents(path, random() % 2 ? newText : oldText);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        dead = child;
        const std::string now = testsupport::TempDir::ReadFile(path);
        ASSERT_TRUE(now == oldText || now == newText) << "a cut file of " << now.size() << " bytes";
    }
    const std::string deadPid = std::to_string(dead);
    for (const std::string& name : {"Setting.DAT.new-" + deadPid, "Setting.DAT.new-" + deadPid + "-3"}) {
        dir.Write(name, "left by a save that died");
    }
    const std::set<std::string> others = {"Setting.DAT.new-1-0", "Setting.DAT.new-" + std::to_string(getppid()),
                                          "Setting.DAT.new-12x", "Setting.DAT.old-" + deadPid,
                                          "space.hi.new-" + deadPid};
    for (const std::string& name : others) dir.Write(name, "not ours to remove");

    ASSERT_TRUE(ReplaceFileContents(path, "final"));
    std::set<std::string> expected = others;
    expected.insert("Setting.DAT");
    EXPECT_EQ(Names(dir.Path()), expected);
    EXPECT_EQ(testsupport::TempDir::ReadFile(path), "final");
}

TEST(FileReplacementTest, ACopyToANewFileTakesNoNameThatIsThereAndNoPipe) {
    testsupport::TempDir dir("glyphor-copy-new");
    const std::string from = dir.File("from");
    std::string big(3 << 20, '\0');
    std::mt19937 random(7);
    for (char& c : big) c = static_cast<char>(random());
    ASSERT_TRUE(ReplaceFileContents(from, big));
    std::string why;
    ASSERT_TRUE(platform::CopyToNewFile(from, dir.File("to"), &why)) << why;
    EXPECT_EQ(testsupport::TempDir::ReadFile(dir.File("to")), big);

    // A file there already, or a link, keeps its name: nothing is replaced.
    ASSERT_TRUE(ReplaceFileContents(dir.File("kept"), "the player's own"));
    fs::create_symlink(dir.File("nowhere"), dir.File("link"));
    for (const char* name : {"kept", "link"}) {
        EXPECT_FALSE(platform::CopyToNewFile(from, dir.File(name), &why)) << name;
        EXPECT_EQ(why, "it is there already");
    }
    EXPECT_EQ(testsupport::TempDir::ReadFile(dir.File("kept")), "the player's own");
    EXPECT_FALSE(fs::exists(dir.File("nowhere")));

    // A pipe is no file to copy, and is not waited on.
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(platform::CopyToNewFile(dir.File("pipe"), dir.File("piped"), &why));
    EXPECT_EQ(why, "it is not a regular file");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"from", "to", "kept", "link", "pipe"}));
}

}  // namespace
