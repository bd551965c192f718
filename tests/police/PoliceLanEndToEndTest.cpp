// Two real programs race each other over a real link: each runs in a network namespace of its
// own, the two joined by a veth pair, and each plays a script on the real clock (`realtime`).
// Skipped, with the reason, where namespaces cannot be made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "ScriptedProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/VethLink.h"

namespace fs = std::filesystem;
using scripted::Centre;
using scripted::kDist;
using scripted::LoadSnapshot;
using scripted::PackPicture;
using scripted::SamePixelsOutside;

namespace {

const std::string kMulti = Centre("POLICE_MAINMENU_MULTI", 3, 437, 394);
const std::string kCreate = Centre("POLICE_CREATE", 3, 30, 50);
const std::string kJoin = Centre("POLICE_JOIN", 3, 30, 100);
const std::string kStart = Centre("POLICE_START", 3, 210, 545);
const std::string kRefresh = Centre("POLICE_REFRESH", 3, 50, 150);
const std::string kFirstRow = "300 150";

class PoliceLanEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(PackPicture("POLICE_MAINMENU_BG")) << "the picture pack is built by the assets target";
        temp_ = std::make_unique<testsupport::TempDir>("glyphor-police-lan");
        dir_ = temp_->Path();
        choice_ = scripted::ChooseText(true);
        ASSERT_GE(choice_.row, 0) << "no plain race text in the program folder";
    }

    // Starts the program in namespace `ns` on `script`; `broadcast` empty leaves the search to
    // the namespace's interfaces. Returns the process id (ip netns exec and env exec in place).
    pid_t Launch(const std::string& ns, const std::string& name, const std::string& script,
                 const std::string& broadcast) {
        const std::string scriptPath = (dir_ / (name + ".txt")).string();
        std::ofstream(scriptPath) << script;
        const std::string command =
            "exec ip netns exec " + ns +
            " env -u GLYPHOR_LAN_BROADCAST SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy GLYPHOR_WINDOWED=1 " +
            (broadcast.empty() ? "" : "GLYPHOR_LAN_BROADCAST=" + broadcast + " ") +
            "ASAN_OPTIONS=detect_leaks=0 GLYPHOR_LAN_PORT=" + std::to_string(24000 + getpid() % 5000) +
            " GLYPHOR_INSTANCE=police-lan-" + std::to_string(getpid()) + "-" + name + " GLYPHOR_SCRIPT=" + scriptPath +
            " " + kDist + "/glyphor_police > " + (dir_ / (name + ".out")).string() + " 2>&1";
        const pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }

    // Exit status of `pid`, killing it after `limit`.
    static int Finish(pid_t pid, std::chrono::seconds limit = std::chrono::seconds(90)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Output(const std::string& name) const {
        std::ifstream in(dir_ / (name + ".out"));
        std::stringstream s;
        s << in.rdbuf();
        return name + ": " + s.str();
    }
    std::string Shot(const std::string& name) const { return (dir_ / (name + ".png")).string(); }

    // The host: lobby, create, the text, then the start; the start is tried three times, as a
    // player would until the other side has joined (once the race runs the clicks do nothing).
    std::string HostUntilStart() const {
        std::string script = "realtime\nframes 3\nclick " + kMulti + "\nframes 3\nclick " + kCreate +
                             "\nframes 3\nclick " + scripted::TextRow(choice_.row) + "\nwait 6000\n";
        for (int i = 0; i < 3; ++i) script += "click " + kStart + "\nwait 1500\n";
        return script;
    }
    // The joining side: lobby once the host is up, the first row, join; tried three times (on
    // the setting screen of a joined side these clicks reach no button).
    static std::string JoinerUntilJoined() {
        std::string script = "realtime\nwait 2000\nclick " + kMulti + "\nframes 5\n";
        for (int i = 0; i < 3; ++i) {
            script +=
                "click " + kFirstRow + "\nframes 2\nclick " + kJoin + "\nwait 1000\nclick " + kRefresh + "\nframes 5\n";
        }
        return script;
    }

    std::unique_ptr<testsupport::TempDir> temp_;
    fs::path dir_;
    scripted::Choice choice_;
};

TEST_F(PoliceLanEndToEnd, HostFoundJoinedAndTheRacingPoliceCatchesTheThief) {
    testsupport::VethLink link("p");
    if (!link.Skipped().empty()) GTEST_SKIP() << link.Skipped();

    // The host plays the police by car (the default choice) and types fast; the joined side is
    // the thief and types a few characters slowly.
    // Then Enter on the host's result screen starts a new race on both sides.
    const std::string host = HostUntilStart() + "type " + choice_.text.substr(0, 150) + "\nwait 4000\nsnapshot " +
                             Shot("host") + "\nkey Enter\nwait 1000\nsnapshot " + Shot("host-again") + "\n";
    std::string joiner = JoinerUntilJoined() + "wait 2500\n";
    for (size_t i = 0; i < 6; ++i) joiner += "key " + choice_.text.substr(i, 1) + "\nwait 300\n";
    joiner += "wait 3500\nsnapshot " + Shot("joiner") + "\nwait 6000\nsnapshot " + Shot("joiner-again") + "\n";

    // Neither side names a broadcast address: the search goes out on the namespace's veth.
    const pid_t hostPid = Launch(link.A(), "host", host, "");
    const pid_t joinerPid = Launch(link.B(), "joiner", joiner, "");
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");
    EXPECT_EQ(Finish(joinerPid), 0) << Output("joiner");

    const auto hostShot = LoadSnapshot(Shot("host"));
    const auto joinerShot = LoadSnapshot(Shot("joiner"));
    ASSERT_TRUE(hostShot && joinerShot) << Output("host") << Output("joiner");
    // Each side shows its own figures in the top left corner of its result screen.
    EXPECT_TRUE(SamePixelsOutside(*hostShot, *PackPicture("POLICE_WIN_0"), 10, 10, 187, 81)) << Output("host");
    EXPECT_TRUE(SamePixelsOutside(*joinerShot, *PackPicture("POLICE_LOST_1"), 10, 10, 187, 81)) << Output("joiner");

    const auto hostAgain = LoadSnapshot(Shot("host-again"));
    const auto joinerAgain = LoadSnapshot(Shot("joiner-again"));
    ASSERT_TRUE(hostAgain && joinerAgain);
    // Both race again: neither shows its result screen any more.
    EXPECT_FALSE(SamePixelsOutside(*hostAgain, *PackPicture("POLICE_WIN_0"), 10, 10, 187, 81)) << Output("host");
    EXPECT_FALSE(SamePixelsOutside(*joinerAgain, *PackPicture("POLICE_LOST_1"), 10, 10, 187, 81)) << Output("joiner");
}

TEST_F(PoliceLanEndToEnd, JoinedProgramKilledMidRaceSendsTheHostBackToItsSettingScreen) {
    testsupport::VethLink link("k");
    if (!link.Skipped().empty()) GTEST_SKIP() << link.Skipped();

    // The host does not type, so nobody wins; a snapshot every second after the kill.
    std::string host = HostUntilStart() + "snapshot " + Shot("racing") + "\n";
    for (int i = 0; i < 12; ++i) host += "wait 1000\nsnapshot " + Shot("after" + std::to_string(i)) + "\n";
    const std::string joiner = JoinerUntilJoined() + "wait 60000\n";

    const pid_t hostPid = Launch(link.A(), "host", host, testsupport::VethLink::kBroadcast);
    const pid_t joinerPid = Launch(link.B(), "joiner", joiner, testsupport::VethLink::kBroadcast);
    // The host has started the race by about 9.5 s in and takes its "racing" snapshot near 11 s.
    std::this_thread::sleep_for(std::chrono::milliseconds(12000));
    kill(joinerPid, SIGKILL);
    Finish(joinerPid);
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");

    const auto setting = PackPicture("POLICE_SETTING_BG");
    const auto racing = LoadSnapshot(Shot("racing"));
    ASSERT_TRUE(racing) << Output("host");
    EXPECT_NE(racing->ReadPixel(5, 5), setting->ReadPixel(5, 5))
        << "the race had not started" << Output("host") << Output("joiner");

    // The host ends on its setting screen; before, the message stood in the middle of that
    // same screen for a while.
    const auto last = LoadSnapshot(Shot("after11"));
    ASSERT_TRUE(last) << Output("host");
    EXPECT_EQ(last->ReadPixel(5, 5), setting->ReadPixel(5, 5)) << "the host is not on its setting screen";
    auto statusShown = [&](const platform::Surface& shot) {
        for (int y = 290; y < 320; ++y)
            for (int x = 250; x < 550; ++x)
                if (shot.ReadPixel(x, y) != last->ReadPixel(x, y)) return true;
        return false;
    };
    bool sawMessage = false;
    for (int i = 0; i < 11; ++i) {
        auto shot = LoadSnapshot(Shot("after" + std::to_string(i)));
        ASSERT_TRUE(shot) << Output("host");
        if (shot->ReadPixel(5, 5) == setting->ReadPixel(5, 5) && statusShown(*shot)) sawMessage = true;
    }
    EXPECT_TRUE(sawMessage) << "no \"另一玩者已经退出\" over the setting screen";
}

}  // namespace
