#include <gtest/gtest.h>

#include <fcntl.h>
#include <cstdlib>

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

}  // namespace
}  // namespace shelltest
