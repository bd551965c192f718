// Two real programs race each other over a real link: each runs in a network namespace of its
// own, the two joined by a veth pair, and each plays a script on the real clock (`realtime`).
// Skipped, with the reason, where namespaces cannot be made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "ScriptedProgram.h"
#include "tests/support/Contrast.h"
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
// The pale green of the status messages.
constexpr uint32_t kStatusColor = 0xCCBB;

// The status message in `shot` is legible (at least 4.5:1 against what lies beside its letters)
// and none of it lies on `covered` (buttons and lists).
void ExpectStatusLegibleAndClear(const platform::Surface& shot, std::initializer_list<platform::Rect> covered) {
    const auto told = testsupport::MeasureText(shot, {0, 0, 800, 600}, kStatusColor);
    EXPECT_GT(told.letterPixels, 50);
    EXPECT_GE(told.ratio, 4.5);
    const uint16_t pixel = platform::Surface::RawFromBgr(kStatusColor);
    for (const platform::Rect& r : covered) {
        int n = 0;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) n += shot.ReadPixel(x, y) == pixel ? 1 : 0;
        }
        EXPECT_EQ(n, 0) << r.left << "," << r.top;
    }
}

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

    // Starts the program in namespace `ns` (empty: this one; "unshare -n": a new one with no
    // interface up) on `script`; `broadcast` empty
    // leaves the search to the namespace's interfaces. Returns the process id (ip netns exec and
    // env exec in place).
    pid_t Launch(const std::string& ns, const std::string& name, const std::string& script,
                 const std::string& broadcast) {
        const std::string scriptPath = (dir_ / (name + ".txt")).string();
        std::ofstream(scriptPath) << script;
        const std::string command =
            "exec " +
            (ns.empty()                    ? std::string()
             : ns.rfind("unshare", 0) == 0 ? ns + " "
                                           : "ip netns exec " + ns + " ") +
            "env -u GLYPHOR_LAN_BROADCAST SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy GLYPHOR_WINDOWED=1 " +
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
    // Waits until program `name` has announced `state` on its output `times` times; false
    // after `limit`.
    bool Announced(const std::string& name, const std::string& state, int times = 1,
                   std::chrono::seconds limit = std::chrono::seconds(90)) const {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const auto count = [&] {
            const std::string out = Output(name), line = "state: " + state + "\n";
            int n = 0;
            for (size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1)) ++n;
            return n;
        };
        while (count() < times) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }
    std::string Shot(const std::string& name) const { return (dir_ / (name + ".png")).string(); }

    // The host: lobby, create, the text; the start once the other side has joined.
    std::string HostUntilStart() const {
        return "realtime\nframes 3\nclick " + kMulti + "\nawait screen lobby\nclick " + kCreate +
               "\nawait screen setting\nclick " + scripted::TextRow(choice_.row) + "\nawait players 2\nclick " +
               kStart + "\nawait screen race\n";
    }
    // The joining side, started once the host's session is up: lobby, the first row, join; on
    // the setting screen until the host starts the race.
    static std::string JoinerUntilStart() {
        return "realtime\nframes 3\nclick " + kMulti + "\nawait screen lobby\nclick " + kFirstRow +
               "\nframes 2\nclick " + kJoin + "\nawait players 2\nawait screen race\n";
    }
    // Starts the host, then the joining side once the host's session is up.
    std::pair<pid_t, pid_t> LaunchBoth(const testsupport::VethLink& link, const std::string& host,
                                       const std::string& joiner, const std::string& broadcast) {
        return LaunchBoth(link.A(), link.B(), host, joiner, broadcast);
    }
    // Both on this machine's loopback.
    std::pair<pid_t, pid_t> LaunchOnLoopback(const std::string& host, const std::string& joiner) {
        return LaunchBoth("", "", host, joiner, "127.255.255.255");
    }
    std::pair<pid_t, pid_t> LaunchBoth(const std::string& nsHost, const std::string& nsJoiner, const std::string& host,
                                       const std::string& joiner, const std::string& broadcast) {
        const pid_t hostPid = Launch(nsHost, "host", host, broadcast);
        EXPECT_TRUE(Announced("host", "players 1")) << Output("host");
        return {hostPid, Launch(nsJoiner, "joiner", joiner, broadcast)};
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
    const std::string host = HostUntilStart() + "type " + choice_.text.substr(0, 150) +
                             "\nawait screen won\nframes 3\nsnapshot " + Shot("host") +
                             "\nkey Enter\nawait screen race\nframes 3\nsnapshot " + Shot("host-again") + "\n";
    std::string joiner = JoinerUntilStart();
    for (size_t i = 0; i < 6; ++i) joiner += "key " + choice_.text.substr(i, 1) + "\nframes 15\n";
    joiner += "await screen lost\nframes 3\nsnapshot " + Shot("joiner") + "\nawait screen race\nframes 3\nsnapshot " +
              Shot("joiner-again") + "\n";

    // Neither side names a broadcast address: the search goes out on the namespace's veth.
    const auto [hostPid, joinerPid] = LaunchBoth(link, host, joiner, "");
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");
    EXPECT_EQ(Finish(joinerPid), 0) << Output("joiner");
    for (const char* name : {"host", "joiner"})
        EXPECT_EQ(Output(name).find("script line"), std::string::npos) << Output(name);

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

    // The host does not type, so nobody wins. Once its race runs the joined side is killed; the
    // host shows the message over its setting screen, and the message goes within 400 frames.
    const std::string host = HostUntilStart() + "frames 3\nsnapshot " + Shot("racing") +
                             "\nawait screen setting\nframes 3\nsnapshot " + Shot("message") +
                             "\nframes 400\nsnapshot " + Shot("setting") + "\n";
    const std::string joiner = JoinerUntilStart() + "wait 60000\n";

    const auto [hostPid, joinerPid] = LaunchBoth(link, host, joiner, testsupport::VethLink::kBroadcast);
    EXPECT_TRUE(Announced("host", "screen race")) << Output("host") << Output("joiner");
    kill(joinerPid, SIGKILL);
    Finish(joinerPid);
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");
    EXPECT_EQ(Output("host").find("script line"), std::string::npos) << Output("host");

    const auto setting = PackPicture("POLICE_SETTING_BG");
    const auto racing = LoadSnapshot(Shot("racing"));
    ASSERT_TRUE(racing) << Output("host");
    EXPECT_NE(racing->ReadPixel(5, 5), setting->ReadPixel(5, 5))
        << "the race had not started" << Output("host") << Output("joiner");

    const auto message = LoadSnapshot(Shot("message"));
    const auto last = LoadSnapshot(Shot("setting"));
    ASSERT_TRUE(message && last) << Output("host");
    EXPECT_EQ(message->ReadPixel(5, 5), setting->ReadPixel(5, 5)) << "the host is not on its setting screen";
    EXPECT_EQ(last->ReadPixel(5, 5), setting->ReadPixel(5, 5)) << "the host is not on its setting screen";
    bool messageShown = false;
    // The status stands on the setting screen's hint board, centred at (286, 412).
    for (int y = 396; y < 430 && !messageShown; ++y)
        for (int x = 60; x < 520 && !messageShown; ++x)
            messageShown = message->ReadPixel(x, y) != last->ReadPixel(x, y);
    EXPECT_TRUE(messageShown) << "no \"另一玩者已经退出\" over the setting screen";
    // Role cards, vehicle trays, start and cancel, and the text list keep clear of it.
    ExpectStatusLegibleAndClear(*message,
                                {{4, 8, 568, 214}, {18, 213, 545, 336}, {196, 538, 426, 592}, {573, 40, 790, 566}});
}

TEST_F(PoliceLanEndToEnd, OnLoopbackTheLobbysSelectedRowBarLiesInsideTheTableFrame) {
    // The host waits on its setting screen; the other side finds it, selects its row and joins.
    // Before it makes its session it clicks join with no row chosen: that message is the lobby's.
    const std::string host = "realtime\nframes 3\nclick " + kMulti + "\nawait screen lobby\nclick " + kJoin +
                             "\nframes 2\nclick " + kCreate + "\nawait screen setting\nframes 2\nsnapshot " +
                             Shot("hosting") + "\nawait players 2\n";
    const std::string joiner = "realtime\nframes 3\nclick " + kMulti + "\nawait sessions 1\nclick " + kFirstRow +
                               "\nframes 3\nsnapshot " + Shot("lobby") + "\nclick " + kJoin + "\nawait players 2\n";
    const auto [hostPid, joinerPid] = LaunchOnLoopback(host, joiner);
    EXPECT_EQ(Finish(joinerPid), 0) << Output("joiner");
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");

    const auto hosting = LoadSnapshot(Shot("hosting"));
    ASSERT_TRUE(hosting) << Output("host");
    EXPECT_EQ(testsupport::MeasureText(*hosting, {0, 0, 800, 600}, kStatusColor).letterPixels, 0)
        << "the lobby's message went on over the new session's setting screen";

    const auto lobby = LoadSnapshot(Shot("lobby"));
    const auto background = PackPicture("POLICE_SERVERLIST_BG");
    ASSERT_TRUE(lobby && background) << Output("joiner");
    // The first row's bar covers y 140 to 162. On its middle line the table's field is the run
    // of the background's own colour round the table's middle; the bar is what the snapshot
    // shows there that the background does not.
    const int32_t y = 151;
    const uint16_t field = background->ReadPixel(490, y);
    int32_t fieldLeft = 490, fieldRight = 490;
    while (fieldLeft > 0 && background->ReadPixel(fieldLeft - 1, y) == field) --fieldLeft;
    while (fieldRight < 799 && background->ReadPixel(fieldRight + 1, y) == field) ++fieldRight;
    int32_t barLeft = 800, barRight = -1;
    for (int32_t x = 0; x < 800; ++x) {
        if (lobby->ReadPixel(x, y) == background->ReadPixel(x, y)) continue;
        barLeft = std::min(barLeft, x);
        barRight = std::max(barRight, x);
    }
    EXPECT_GT(fieldRight - fieldLeft, 500) << "the table's field on the row's line";
    EXPECT_GT(barRight - barLeft, (fieldRight - fieldLeft) * 9 / 10) << "a bar across the row";
    EXPECT_GE(barLeft, fieldLeft);
    EXPECT_LE(barRight, fieldRight);
}

TEST_F(PoliceLanEndToEnd, OnLoopbackThePoliceIsToldTheNextKeyRestartsItsTextAndItDoes) {
    // The police on the motorbike behind a thief in the car who types all but the text's last
    // character: the police types the whole text and is not yet at the thief.
    const scripted::Choice shortest = scripted::ChooseText(false);
    ASSERT_GE(shortest.row, 0);
    std::string host = "realtime\nframes 3\nclick " + kMulti + "\nawait screen lobby\nclick " + kCreate +
                       "\nawait screen setting\nclick " + scripted::TextRow(shortest.row) + "\nclick " +
                       Centre("POLICE_BIKE", 4, 150, 220) + "\nclick " + Centre("POLICE_CAR", 4, 320, 220) +
                       "\nawait players 2\nclick " + kStart + "\nawait screen race\nframes 3\nsnapshot " +
                       Shot("start") + "\ntype " + shortest.text + "\nframes 2\n";
    // Six snapshots 140 ms apart span both phases of the 400 ms blink.
    for (int i = 0; i < 6; ++i) host += "snapshot " + Shot("finished" + std::to_string(i)) + "\nframes 7\n";
    host += "key z\nframes 3\nsnapshot " + Shot("again") + "\n";
    const std::string joiner = JoinerUntilStart() + "type " + shortest.text.substr(0, shortest.text.size() - 1) +
                               "\nawait screen lobby\nframes 3\nsnapshot " + Shot("left") + "\n";

    const auto [hostPid, joinerPid] = LaunchOnLoopback(host, joiner);
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");
    EXPECT_EQ(Finish(joinerPid), 0) << Output("joiner");
    EXPECT_EQ(Output("host").find("script line"), std::string::npos) << Output("host");
    EXPECT_EQ(Output("host").find("state: screen won"), std::string::npos) << "the police caught the thief";

    // The prompt in dark red ringed with white on the typing panel, blinking, legible.
    constexpr uint32_t kPromptColor = 0x0000A0;
    constexpr platform::Rect kPanel{23, 505, 777, 560};
    int shown = 0, hidden = 0;
    for (int i = 0; i < 6; ++i) {
        const auto shot = LoadSnapshot(Shot("finished" + std::to_string(i)));
        ASSERT_TRUE(shot) << Output("host");
        const auto prompt = testsupport::MeasureText(*shot, kPanel, kPromptColor);
        if (prompt.letterPixels == 0) {
            ++hidden;
            continue;
        }
        ++shown;
        EXPECT_GT(prompt.letterPixels, 50);
        EXPECT_GE(prompt.ratio, 4.5);
    }
    EXPECT_GT(shown, 0) << "no prompt after the last character";
    EXPECT_GT(hidden, 0) << "the prompt does not blink";

    // One key later the police's text starts again: the line shows what it showed at the start.
    constexpr platform::Rect kLine{55, 515, 765, 555};
    const auto start = LoadSnapshot(Shot("start"));
    const auto again = LoadSnapshot(Shot("again"));
    ASSERT_TRUE(start && again);
    int differing = 0;
    for (int32_t y = kLine.top; y < kLine.bottom; ++y) {
        for (int32_t x = kLine.left; x < kLine.right; ++x)
            differing += start->ReadPixel(x, y) != again->ReadPixel(x, y);
    }
    EXPECT_EQ(differing, 0) << "the text did not start again";

    // The host gone, the joined side is back in its lobby and says so legibly, clear of the
    // button panel and the session table.
    const auto left = LoadSnapshot(Shot("left"));
    ASSERT_TRUE(left) << Output("joiner");
    ExpectStatusLegibleAndClear(*left, {{8, 36, 182, 258}, {186, 100, 795, 582}});
}

TEST_F(PoliceLanEndToEnd, OnLoopbackAPlayerWhoJoinsAHostOnItsResultScreenRacesItsTextAndTheLeaverSeesItFree) {
    // The host races a first joined side and wins; that side leaves from its result screen, and
    // a third program joins the host, still on its result screen, and is started by its Enter.
    const std::string host = HostUntilStart() + "type " + choice_.text.substr(0, 150) +
                             "\nawait screen won\nawait players 1\nawait players 2\nframes 10\nkey Enter\n"
                             "await screen race\nframes 3\nsnapshot " +
                             Shot("host-race") + "\nframes 50\n";
    std::string joiner = JoinerUntilStart();
    for (size_t i = 0; i < 6; ++i) joiner += "key " + choice_.text.substr(i, 1) + "\nframes 15\n";
    joiner += "await screen lost\nframes 3\nkey Esc\nawait sessions 1\nclick " + kFirstRow + "\nframes 3\nsnapshot " +
              Shot("left-lobby") + "\n";
    const std::string third = "realtime\nframes 3\nclick " + kMulti + "\nawait sessions 1\nclick " + kFirstRow +
                              "\nframes 3\nsnapshot " + Shot("third-lobby") + "\nclick " + kJoin +
                              "\nawait screen race\nframes 3\nsnapshot " + Shot("third-race") + "\n";

    const auto [hostPid, joinerPid] = LaunchOnLoopback(host, joiner);
    EXPECT_EQ(Finish(joinerPid), 0) << Output("joiner");
    ASSERT_TRUE(Announced("host", "players 1", 2)) << Output("host");
    const pid_t thirdPid = Launch("", "third", third, "127.255.255.255");
    EXPECT_EQ(Finish(thirdPid), 0) << Output("third");
    EXPECT_EQ(Finish(hostPid), 0) << Output("host");
    for (const char* name : {"host", "joiner", "third"})
        EXPECT_EQ(Output(name).find("script line"), std::string::npos) << Output(name);

    // The side that left lists the host's game as one to join, as the newcomer does.
    const auto left = LoadSnapshot(Shot("left-lobby"));
    const auto newcomer = LoadSnapshot(Shot("third-lobby"));
    ASSERT_TRUE(left && newcomer) << Output("joiner") << Output("third");
    int differing = 0;
    for (int32_t y = 138; y < 164; ++y) {
        for (int32_t x = 160; x < 795; ++x) differing += left->ReadPixel(x, y) != newcomer->ReadPixel(x, y);
    }
    EXPECT_EQ(differing, 0) << "the game is listed differently after leaving it";

    // The newcomer's typing line shows the host's text, as the host's own does.
    const auto hostRace = LoadSnapshot(Shot("host-race"));
    const auto thirdRace = LoadSnapshot(Shot("third-race"));
    ASSERT_TRUE(hostRace && thirdRace) << Output("host") << Output("third");
    constexpr platform::Rect kLine{55, 515, 765, 555};
    differing = 0;
    for (int32_t y = kLine.top; y < kLine.bottom; ++y) {
        for (int32_t x = kLine.left; x < kLine.right; ++x)
            differing += hostRace->ReadPixel(x, y) != thirdRace->ReadPixel(x, y);
    }
    EXPECT_EQ(differing, 0) << "the newcomer's race has another text";
}

TEST_F(PoliceLanEndToEnd, WithoutANetworkTheLobbySaysSoInsteadOfListingNoGames) {
    if (std::system("unshare -n true 2>/dev/null") != 0) GTEST_SKIP() << "no network namespace can be made here";
    const std::string script =
        "realtime\nframes 3\nclick " + kMulti + "\nawait sessions 0\nframes 3\nsnapshot " + Shot("alone") + "\n";
    EXPECT_EQ(Finish(Launch("unshare -n", "alone", script, "127.255.255.255")), 0) << Output("alone");
    const auto shot = LoadSnapshot(Shot("alone"));
    ASSERT_TRUE(shot) << Output("alone");
    ExpectStatusLegibleAndClear(*shot, {{8, 36, 182, 258}, {186, 100, 795, 582}});
}

}  // namespace
