#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "ShellTestSupport.h"
#include "platform/SingleInstance.h"
#include "tests/support/TempDir.h"

namespace shelltest {
namespace {

using platform::SingleInstance;

std::string UniqueInstance(const char* what) { return std::string(what) + "-" + std::to_string(getpid()); }

// Waits (through the program's wait) until the restore request arrives or a second has passed.
bool RestoreRequested() {
    auto& queue = platform::MessageQueue::Instance();
    const uint32_t end = platform::Clock::Now() + 5000;
    platform::Message msg;
    while (static_cast<int32_t>(end - platform::Clock::Now()) > 0) {
        while (queue.Peek(msg, true)) {
            if (msg.message == platform::WM_APP_RESTORE) return true;
        }
        queue.WaitUntil(end);
    }
    return false;
}

class SingleInstanceTest : public ShellTest {};

TEST_F(SingleInstanceTest, ASecondStartOfTheProgramAsksTheFirstToRestoreAndEnds) {
    const std::string instance = UniqueInstance("second-start");
    setenv("GLYPHOR_INSTANCE", instance.c_str(), 1);
    auto first = SingleInstance::Acquire(SingleInstance::DefaultName());
    unsetenv("GLYPHOR_INSTANCE");
    ASSERT_NE(first, nullptr);

    // The real program, started a second time under the same name: it shows nothing, says so in
    // one line and ends.
    testsupport::TempDir dir;
    const ChildResult second =
        RunChild(std::string(GLYPHOR_DIST_DIR) + "/glyphor_police",
                 {"GLYPHOR_INSTANCE=" + instance, "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
                 std::chrono::seconds(30), dir.Path() + "stderr.txt", dir.Path() + "stdout.txt");
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(RestoreRequested());
    EXPECT_EQ(FileText(dir.Path() + "stdout.txt"), "already running: its window was brought to the front\n");
    EXPECT_EQ(FileText(dir.Path() + "stderr.txt"), "");
}

TEST_F(SingleInstanceTest, NamesAreSeparateAndFreedWithTheirHolder) {
    const std::string a = UniqueInstance("a");
    const std::string b = UniqueInstance("b");
    auto holderA = SingleInstance::Acquire(a);
    auto holderB = SingleInstance::Acquire(b);
    ASSERT_NE(holderA, nullptr);
    ASSERT_NE(holderB, nullptr);
    EXPECT_EQ(SingleInstance::Acquire(a), nullptr);  // asks holder A, which is told to restore
    EXPECT_TRUE(RestoreRequested());
    holderA.reset();
    EXPECT_NE(SingleInstance::Acquire(a), nullptr);
}

// True when a restore request is already waiting (the holder queues it before it answers).
bool RestoreWaiting() {
    platform::Message msg;
    bool seen = false;
    while (platform::MessageQueue::Instance().Peek(msg, true)) seen = seen || msg.message == platform::WM_APP_RESTORE;
    return seen;
}

// XDG_RUNTIME_DIR as one test sets it, unset again after it.
struct RuntimeFolderScope {
    explicit RuntimeFolderScope(const std::string& folder) { setenv("XDG_RUNTIME_DIR", folder.c_str(), 1); }
    ~RuntimeFolderScope() { unsetenv("XDG_RUNTIME_DIR"); }
};

// Another local user listening under the abstract name the game would use (seen here as a holder
// whose credentials are not those of the starting user) does not keep the game from starting,
// and is not asked anything.
TEST_F(SingleInstanceTest, ASocketHeldByAnotherUserIsIgnoredAndTheGameStarts) {
    const RuntimeFolderScope noFolder("");
    const std::string name = UniqueInstance("foreign");
    auto squatter = SingleInstance::Acquire(name);
    ASSERT_NE(squatter, nullptr);
    RestoreWaiting();

    auto started = SingleInstance::Acquire(name, getuid() + 1);
    EXPECT_NE(started, nullptr);
    EXPECT_FALSE(RestoreWaiting());

    // One that never takes a connection and lets its queue fill does not hold the start up.
    const std::string full = UniqueInstance("full");
    const int holder = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, full.data(), full.size());
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + full.size());
    ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&addr), len), 0);
    ASSERT_EQ(listen(holder, 0), 0);
    std::vector<int> queued;
    for (int i = 0; i < 64; ++i) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) != 0) {
            close(fd);
            break;
        }
        queued.push_back(fd);
    }
    const auto before = std::chrono::steady_clock::now();
    EXPECT_NE(SingleInstance::Acquire(full), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
    for (const int fd : queued) close(fd);
    close(holder);
}

TEST_F(SingleInstanceTest, TheSocketIsAFileOfAPrivateRuntimeFolderAndAStaleOneDoesNotBlockTheStart) {
    testsupport::TempDir dir;
    const std::string folder = dir.Path() + "run";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const RuntimeFolderScope scope(folder);
    const std::string name = UniqueInstance("file");
    const std::string file = folder + "/" + name + ".socket";

    // Left behind by a copy that was killed: a socket file nobody listens on.
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, file.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(bind(stale, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    close(stale);

    auto first = SingleInstance::Acquire(name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SingleInstance::Acquire(name), nullptr);
    EXPECT_TRUE(RestoreRequested());
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(file));

    // A folder others may enter is not used: the abstract name serves instead.
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    auto open = SingleInstance::Acquire(name);
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(SingleInstance::Acquire(name), nullptr);
    EXPECT_TRUE(RestoreRequested());
    open.reset();

    // The real program takes the private folder's socket file and removes it as it ends.
    ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    dir.Write("quit.txt", "frames 2\nquit\n");
    const ChildResult run =
        RunChild(std::string(GLYPHOR_DIST_DIR) + "/glyphor_police",
                 {"GLYPHOR_INSTANCE=" + name, "XDG_RUNTIME_DIR=" + folder, "GLYPHOR_SCRIPT=" + dir.Path() + "quit.txt",
                  "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
                 std::chrono::seconds(30), dir.Path() + "stderr.txt", dir.Path() + "stdout.txt");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << FileText(dir.Path() + "stderr.txt");
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_NE(entry.path().extension(), ".socket") << entry.path();
    }
}

// A later copy's knock on the abstract socket `name` through the socket `fd`: true when it is
// connected and the request sent.
bool Knock(int fd, const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
           send(fd, "restore\n", 8, MSG_NOSIGNAL) == 8;
}

int NewSocket() { return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0); }

// The answer to a knock, within 2 s.
std::string Answer(int fd) {
    timeval wait{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char answer[4] = {};
    const ssize_t got = recv(fd, answer, 3, 0);
    close(fd);
    return got > 0 ? std::string(answer, static_cast<size_t>(got)) : std::string();
}

// The running copy has no descriptor to spare when a later copy knocks: it answers once one is
// free again, instead of never listening again.
TEST_F(SingleInstanceTest, ALaterStartIsAnsweredAfterTheRunningCopyRanOutOfDescriptors) {
    unsetenv("XDG_RUNTIME_DIR");  // the abstract name
    const std::string name = UniqueInstance("out-of-descriptors");
    auto first = SingleInstance::Acquire(name);
    ASSERT_NE(first, nullptr);
    const int knock = NewSocket();
    ASSERT_TRUE(Knock(knock, name));
    ASSERT_EQ(Answer(knock), "ok\n");  // it listens
    ASSERT_TRUE(RestoreRequested());

    // Two knocks while no descriptor can be made: a waiting accept holds one already, the next
    // finds none.
    const std::array<int, 2> later{NewSocket(), NewSocket()};
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit none = old;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    const bool knocked = Knock(later[0], name) && Knock(later[1], name);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    setrlimit(RLIMIT_NOFILE, &old);
    ASSERT_TRUE(knocked);
    EXPECT_EQ(Answer(later[0]), "ok\n");
    EXPECT_EQ(Answer(later[1]), "ok\n");
    EXPECT_TRUE(RestoreRequested());
}

}  // namespace
}  // namespace shelltest
