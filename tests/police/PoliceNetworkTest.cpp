// The network branches of the police game, driven through the session engine's events: the
// lobby rules, settings from the host, the start handshake, progress from the other side, the
// ends of a race and a leaving player. The real two-program race (with Enter restarting both
// sides) is PoliceLanEndToEndTest.
#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>

#include "PoliceWorld.h"
#include "platform/Clock.h"
#include "platform/net/LanSession.h"
#include "police/LobbyView.h"
#include "police/NetEngine.h"
#include "police/NetRace.h"
#include "results/HistoryStore.h"
#include "results/ResultBook.h"
#include "tests/support/TempDir.h"

namespace policetest {
namespace {

class PoliceNetwork : public PoliceWorld {
protected:
    void SetUp() override {
        PoliceWorld::SetUp();
        // Searches stay on loopback, on a port no other test program uses.
        ::setenv("GLYPHOR_LAN_BROADCAST", "127.255.255.255", 1);
        ::setenv("GLYPHOR_LAN_PORT", std::to_string(40000 + getpid() % 20000).c_str(), 1);
    }
    // A game in the lobby, as BtnMulti leaves it.
    PoliceGame& InLobby() {
        PoliceGame& game = StartGame();
        Click(game.Buttons().BtnMulti);
        return game;
    }
    // The joined side's race on `text`, started by the host's two messages.
    PoliceGame& Racing(const std::u16string& text) {
        PoliceGame& game = InLobby();
        game.Network().Engine().GetString(text);
        game.Network().Engine().Ready();
        return game;
    }
};

TEST(LobbyViewTest, SelectionRowsAndBarsFollowTheSessionsFound) {
    // After a search: none found clears the selection; otherwise it is held to the rows.
    EXPECT_EQ(LobbyView::ClampSelection(2, 0), 0);
    EXPECT_EQ(LobbyView::ClampSelection(5, 3), 3);
    EXPECT_EQ(LobbyView::ClampSelection(0, 3), 1);
    EXPECT_EQ(LobbyView::ClampSelection(2, 3), 2);
    EXPECT_EQ(LobbyView::ClampSelection(0, 5), 1);
    EXPECT_EQ(LobbyView::ClampSelection(9, 5), 5);
    EXPECT_EQ(LobbyView::ClampSelection(40, 40), LobbyView::kMaxRows);

    // Rows start right of x 160 and below y 136; a click below the last row takes the last.
    EXPECT_EQ(LobbyView::HitSessionRow(160, 150, 3), 0);
    EXPECT_EQ(LobbyView::HitSessionRow(161, 150, 3), 1);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 136, 3), 0);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 137, 3), 1);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 165, 3), 1);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 166, 3), 2);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 599, 3), 3);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 200, 0), 0);
    EXPECT_EQ(LobbyView::HitSessionRow(300, 599, 40), LobbyView::kMaxRows);

    // The bar is 96 pixels less the row's value, and nothing once the value reaches 96.
    EXPECT_EQ(LobbyView::PingValue(1, 199), 0);
    EXPECT_EQ(LobbyView::PingValue(3, 55), 11);
    ASSERT_TRUE(LobbyView::PingBar(1, 199));
    EXPECT_EQ(LobbyView::PingBar(1, 199)->right, 548);
    EXPECT_EQ(LobbyView::PingBar(3, 55)->right, 537);
    EXPECT_EQ(LobbyView::PingBar(3, 55)->top, 204);
    EXPECT_FALSE(LobbyView::PingBar(5, 240));
    EXPECT_TRUE(LobbyView::PingBar(5, 239));
    EXPECT_FALSE(LobbyView::PingBar(15, 199));

    EXPECT_EQ(LobbyView::PlayerName(u"", u"Host"), u"Host");
    EXPECT_EQ(LobbyView::PlayerName(std::u16string(64, u'w'), u"Client").size(), LobbyView::kMaxNameLength);
}

TEST_F(PoliceNetwork, LobbyButtonsAndEscKeepTheNetworkGameUntilTheMainMenu) {
    PoliceGame& game = InLobby();
    ASSERT_EQ(game.Screen(), kScreenLobby);
    EXPECT_TRUE(game.IsNetworkGame());
    EXPECT_TRUE(game.Network().Engine().IsInitialized());
    EXPECT_EQ(game.Network().Engine().GetSessionCount(), 0);
    Frame();

    // Join with no row: the message, and no session.
    Click(game.Buttons().BtnJoin);
    EXPECT_EQ(game.StatusText(), u"请选择有效的连接");
    EXPECT_EQ(game.Screen(), kScreenLobby);
    Click(300, 200);  // no rows: nothing to select
    EXPECT_EQ(game.Network().SelectedSession(), 0);
    Click(game.Buttons().BtnRefresh);
    EXPECT_EQ(game.Network().SelectedSession(), 0);

    // Esc in the lobby searches again; it does not leave for the setting screen.
    game.KeyPress(27);
    EXPECT_EQ(game.Screen(), kScreenLobby);
    EXPECT_TRUE(game.IsNetworkGame());
    Click(game.Buttons().BtnReturn);
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
    EXPECT_FALSE(game.IsNetworkGame());
}

TEST_F(PoliceNetwork, ALongSessionNameEndsBeforeTheLatencyColumn) {
    platform::net::SessionDesc desc;
    desc.name = std::u16string(LobbyView::kMaxNameLength, u'W');
    const auto config = platform::net::LanConfig::FromEnvironment();
    ASSERT_TRUE(config);
    const auto host = platform::net::LanSession::Host(
        *config, desc, {desc.name, u"Host"}, [] {}, nullptr);
    ASSERT_TRUE(host);
    PoliceGame& game = InLobby();
    ASSERT_EQ(game.Network().Engine().GetSessionCount(), 1);
    game.Network().MouseDown(1, 300, 150);
    Frame();
    const platform::Surface& back = g_Graphic->BackSurface();
    for (int32_t x = 390; x < 400; ++x)
        for (int32_t y = 144; y < 164; ++y)
            ASSERT_NE(back.ReadPixel(x, y), platform::Surface::RawFromBgr(0xFFFFFF)) << x;
}

TEST_F(PoliceNetwork, SettingsFromTheHostSetTheJoinedSideAndRepeatChangesNothing) {
    WriteText("a.txt", "alpha");
    WriteText("b.txt", "beta");
    auto host = PoliceGame::Create();
    host->Buttons().BtnThief->OnClick();
    host->Buttons().BtnBike0->OnClick();
    host->Buttons().BtnCar1->OnClick();
    NetRace hostSide(host->Network().Engine(), host->Race());
    const NetRace::Setting s = hostSide.CurrentSetting(1);
    EXPECT_EQ(s.ServerPlayerID, 1);
    EXPECT_EQ(s.PoliceCarOrBike, 0);
    EXPECT_EQ(s.ThiefCarOrBike, 1);

    PoliceGame& joined = InLobby();
    const PoliceButtons& b = joined.Buttons();
    joined.Network().Engine().SettingChange(s.TextListID, s.ServerPlayerID, s.PoliceCarOrBike, s.ThiefCarOrBike);
    // The host plays the thief: this side is the police.
    EXPECT_EQ(joined.Race().LocalIndex, 0);
    EXPECT_TRUE(Chosen(*b.BtnPolice));
    EXPECT_TRUE(Chosen(*b.BtnBike0));
    EXPECT_TRUE(Chosen(*b.BtnCar1));
    EXPECT_EQ(joined.Race().Track.Runners[0].TopSpeed, 1.3f);
    EXPECT_EQ(joined.TextList().TextListID, 1);
    const int32_t offsets[] = {b.BtnPolice->FrameOffset(), b.BtnThief->FrameOffset(), b.BtnCar0->FrameOffset(),
                               b.BtnBike0->FrameOffset(),  b.BtnCar1->FrameOffset(),  b.BtnBike1->FrameOffset()};
    joined.Network().Engine().SettingChange(s.TextListID, s.ServerPlayerID, s.PoliceCarOrBike, s.ThiefCarOrBike);
    const int32_t again[] = {b.BtnPolice->FrameOffset(), b.BtnThief->FrameOffset(), b.BtnCar0->FrameOffset(),
                             b.BtnBike0->FrameOffset(),  b.BtnCar1->FrameOffset(),  b.BtnBike1->FrameOffset()};
    EXPECT_TRUE(std::equal(std::begin(offsets), std::end(offsets), std::begin(again)));
    EXPECT_TRUE(b.BtnThief->Enabled());

    // On the joined side's setting screen only BtnCancel takes the mouse: the host chooses.
    joined.SwitchScreen(kScreenSetting);
    Click(b.BtnThief);
    Click(600, 46);
    EXPECT_EQ(joined.Race().LocalIndex, 0);
    EXPECT_EQ(joined.TextList().TextListID, 1);
    Click(b.BtnCancel);
    EXPECT_EQ(joined.Screen(), kScreenLobby);

    // The host's list may be longer: nothing past this side's end is chosen.
    joined.Network().Engine().SettingChange(200, 0, 1, 0);
    EXPECT_EQ(joined.TextList().TextListID, joined.TextList().LastIndex());
    EXPECT_EQ(joined.Race().LocalIndex, 1);

    // Settings reach only a joined side: outside a network game they change nothing.
    host->Network().Engine().SettingChange(0, 1, 1, 1);
    EXPECT_EQ(host->Race().LocalIndex, 1);
}

TEST_F(PoliceNetwork, TextThenStartBeginTheJoinedRaceOnATypableText) {
    PoliceGame& game = InLobby();
    // The text alone starts nothing, and an end outside a race ends nothing.
    game.Network().Engine().GetString(u"Go\u0001 on\r\u0E01.");
    game.Network().Engine().Over();
    EXPECT_EQ(game.Screen(), kScreenLobby);
    game.Network().Engine().Ready();
    ASSERT_EQ(game.Screen(), kScreenRace);
    // Characters no key can type became typable ones: the race can be finished.
    EXPECT_EQ(game.Race().Text.Text(), u"Go? on??.");
    EXPECT_EQ(game.Race().Text.WindowRest(), u"Go? on??.");
    EXPECT_TRUE(game.Race().Text.WindowTyped().empty());
    EXPECT_TRUE(game.Race().OpponentFromNetwork);
    // A text in the middle of the race is none a real host sends: the race keeps its own.
    Type("Go? on");
    game.Network().Engine().GetString(u"ab");
    EXPECT_EQ(game.Race().Text.Text(), u"Go? on??.");
    Type("??.");
    EXPECT_EQ(game.Race().Local().InputPos, 9);
}

TEST_F(PoliceNetwork, ProgressFromTheOtherSideMovesTheOpponentWithinBounds) {
    PoliceGame& game = Racing(u"abcdefghij");
    PoliceRace& race = game.Race();
    EXPECT_FALSE(race.RaceStarted);
    game.Network().Engine().ReceiveNotify(4, 1.6f);
    EXPECT_TRUE(race.RaceStarted);
    EXPECT_EQ(race.Opponent().InputPos, 4);
    EXPECT_EQ(race.Opponent().Speed, 1.6f);
    // Between messages the received speed falls by the normal slow-down.
    Frame();
    EXPECT_FLOAT_EQ(race.Opponent().Speed, 1.575f);

    game.Network().Engine().ReceiveNotify(1 << 30, 1e30f);
    EXPECT_EQ(race.Opponent().InputPos, 10);
    EXPECT_EQ(race.Opponent().Speed, NetRace::kMaxSpeed);
    game.Network().Engine().ReceiveNotify(-7, -3.0f);
    EXPECT_EQ(race.Opponent().InputPos, 0);
    EXPECT_EQ(race.Opponent().Speed, 0.0f);
    game.Network().Engine().ReceiveNotify(2, 1.0f);
    game.Network().Engine().ReceiveNotify(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(race.Opponent().InputPos, 3);
    EXPECT_EQ(race.Opponent().Speed, 1.0f);
    // The fastest opponent a peer can make still runs and is drawn without trouble.
    for (int i = 0; i < 3000 && game.Screen() == kScreenRace; ++i) {
        game.Network().Engine().ReceiveNotify(5, 1e9f);
        Frame();
    }
    EXPECT_TRUE(std::isfinite(race.Opponent().MapX));
}

TEST_F(PoliceNetwork, EndsOfANetworkRaceAndEnterStartingBothSides) {
    // The joined side plays the thief (the host kept the police): finishing wins, then the
    // police's over message arriving a moment later puts it on the lost screen.
    PoliceGame& thief = Racing(u"ab");
    thief.Network().Engine().SettingChange(0, 0, 1, 0);
    thief.Network().Engine().Ready();
    ASSERT_EQ(thief.Race().LocalIndex, 1);
    Type("ab");
    EXPECT_EQ(std::u16string(thief.Renderer().FinishPrompt()), u"按空格键冲过终点！");
    Type("x");
    EXPECT_EQ(thief.Screen(), kScreenWon);
    EXPECT_EQ(thief.RaceScreen().LastResult().outcome, "won");
    // Both sides finished in the same moment: both end lost, and so does what this one recorded.
    thief.Network().Engine().Over();
    EXPECT_EQ(thief.Screen(), kScreenLost);
    EXPECT_EQ(thief.RaceScreen().LastResult().outcome, "lost");

    // Enter on a result screen starts the race here (and tells the other side); the new
    // race's player check finds nobody here and ends it at once.
    thief.KeyPress(13);
    EXPECT_EQ(thief.Screen(), kScreenLobby);
    EXPECT_EQ(thief.StatusText(), u"另一玩者已经退出");
    // The other side's start message starts the race whatever this side shows.
    thief.SwitchScreen(kScreenLost);
    thief.Network().Engine().Ready();
    EXPECT_EQ(thief.Screen(), kScreenRace);
    EXPECT_EQ(thief.Race().Local().InputPos, 0);

    // A police who types the whole text starts it again and the chase goes on; the typing time
    // stands still only from the text's end to the first key of the next pass.
    thief.Network().Engine().SettingChange(0, 1, 1, 0);
    thief.Network().Engine().Ready();
    ASSERT_EQ(thief.Race().LocalIndex, 0);
    platform::Clock::UseVirtual(5000);
    Type("a");
    platform::Clock::AdvanceTo(5300);
    Type("b");
    EXPECT_EQ(std::u16string(thief.Renderer().FinishPrompt()), u"按空格键重新开始");
    platform::Clock::AdvanceTo(6300);
    Type("x");
    EXPECT_EQ(thief.Screen(), kScreenRace);
    EXPECT_EQ(thief.Race().Local().InputPos, 0);
    EXPECT_EQ(thief.Race().Text.WindowRest(), u"ab");
    platform::Clock::AdvanceTo(6500);
    Type("a");
    platform::Clock::AdvanceTo(6700);
    thief.Network().Engine().Over();
    platform::Clock::UseReal();
    EXPECT_EQ(thief.Screen(), kScreenLost);
    EXPECT_EQ(thief.RaceScreen().LastResult().durationMs, 500);
}

TEST_F(PoliceNetwork, ALeavingPlayerEndsOnlyARaceInProgress) {
    PoliceGame& game = InLobby();
    // On the setting screen (after a failed join) the player list changing does nothing; the
    // screen itself notices the missing host when it is drawn.
    game.SwitchScreen(kScreenSetting);
    game.Network().Engine().UpDatePlayer();
    EXPECT_EQ(game.Screen(), kScreenSetting);
    EXPECT_EQ(game.StatusTicks(), 0);
    Frame();
    EXPECT_EQ(game.Screen(), kScreenLobby);
    EXPECT_EQ(game.StatusText(), u"服务器退出,请选择(建立)新游戏");

    // A start comes after its text.
    game.Network().Engine().GetString(u"ab");
    game.Network().Engine().Ready();
    game.SwitchScreen(kScreenWon);
    game.Network().Engine().UpDatePlayer();
    EXPECT_EQ(game.Screen(), kScreenWon);

    game.Network().Engine().Ready();
    game.Network().Engine().UpDatePlayer();
    EXPECT_EQ(game.StatusText(), u"另一玩者已经退出");
    EXPECT_EQ(game.Screen(), kScreenLobby);
    EXPECT_TRUE(game.IsNetworkGame());
}

// A peer that starts and ends races without end fills no history: a network race in which this
// side typed no key is shown but not recorded, and one with a key typed is recorded as it ended.
TEST_F(PoliceNetwork, ANetworkRaceWithoutAKeyTypedIsNotRecorded) {
    testsupport::TempDir temp("glyphor-net-history");
    results::ResultBook::Open(temp.File("history.sqlite"));
    PoliceGame& game = Racing(u"ab");
    for (int i = 0; i < 20; ++i) {
        game.Network().Engine().Ready();
        game.Network().Engine().Over();
    }
    EXPECT_EQ(game.Screen(), kScreenLost);
    EXPECT_EQ(game.RaceScreen().LastResult().Keys(), 0);
    game.Network().Engine().Ready();
    Type("a");
    game.Network().Engine().Over();
    results::ResultBook::Close();
    std::string why;
    auto store = results::HistoryStore::Open(temp.File("history.sqlite"), false, why);
    ASSERT_TRUE(store) << why;
    const auto rows = store->Recent("race", 100);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].correct, 1);
    EXPECT_EQ(rows[0].outcome, "lost");
}

}  // namespace
}  // namespace policetest
