// The police game's session engine against a second side on loopback. The engine's session loop
// runs the real frame step; a test screen's UpDateGame plays the other side from inside it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "RawPeer.h"
#include "platform/CodePage.h"
#include "platform/net/GameMessage.h"
#include "platform/net/LanSession.h"
#include "platform/net/SessionPacket.h"
#include "platform/net/SessionSearch.h"
#include "platform/net/WireReader.h"
#include "police/NetEngine.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"

using namespace platform::net;
using nettest::LoopbackConfig;
using nettest::WaitFor;
using Clock = std::chrono::steady_clock;

namespace {

class StepScreen : public IGameInterface {
public:
    std::function<void()> step;
    bool UpDateGame() override {
        if (step) step();
        return true;
    }
};

class NetEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen_ = std::make_shared<StepScreen>();
        g_Screen = screen_;
        StartFrameClock();
    }
    void TearDown() override { g_Screen.reset(); }

    // Runs `step` every frame of the session loop; gives up (closing the session) after `limit`.
    void EveryFrame(NetEngine& net, std::function<void()> step,
                    std::chrono::milliseconds limit = std::chrono::milliseconds(10000)) {
        const auto deadline = Clock::now() + limit;
        screen_->step = [&net, step = std::move(step), deadline] {
            if (Clock::now() > deadline) {
                ADD_FAILURE() << "the session loop did not end in time";
                net.CloseSession();
                return;
            }
            step();
        };
    }

    // Records every event of `net` as a line of text.
    void Record(NetEngine& net) {
        net.GetString = [this](const std::u16string& s) {
            log_.push_back("GetString " + std::to_string(s.size()) + " " + std::to_string(s[0]));
        };
        net.Ready = [this] { log_.push_back("Ready"); };
        net.Over = [this] { log_.push_back("Over"); };
        net.NeedSetting = [this] { log_.push_back("NeedSetting"); };
        net.UpDatePlayer = [this, &net] { log_.push_back("UpDatePlayer " + std::to_string(net.GetPlayerCount())); };
        net.SettingChange = [this](uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
            std::ostringstream s;
            s << "SettingChange " << int(a) << " " << int(b) << " " << int(c) << " " << int(d);
            log_.push_back(s.str());
        };
        net.ReceiveNotify = [this](int32_t pos, float speed) {
            std::ostringstream s;
            s << "ReceiveNotify " << pos << " " << (speed == 1.6f ? "1.6f" : std::to_string(speed));
            log_.push_back(s.str());
        };
    }

    std::shared_ptr<StepScreen> screen_;
    std::vector<std::string> log_;
};

SessionDesc Desc(std::u16string name, int32_t user1) {
    SessionDesc d;
    d.name = std::move(name);
    d.user1 = user1;
    return d;
}

}  // namespace

TEST_F(NetEngineTest, InitializeSetsUpOnceAndAFailedSetUpIsTriedAgain) {
    LoopbackConfig(10);
    setenv("GLYPHOR_LAN_BROADCAST", "not an address", 1);
    NetEngine net;
    std::vector<std::u16string> shown;
    net.ShowMessage = [&](const std::u16string& text) { shown.push_back(text); };
    EXPECT_FALSE(net.Initialize());
    EXPECT_FALSE(net.IsInitialized());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0],
              u"无法初始网络效引擎\r\n\r\n环境变量 GLYPHOR_LAN_BROADCAST 的值“not an address”不是 IPv4 地址。");

    LoopbackConfig(10);
    EXPECT_TRUE(net.Initialize());
    EXPECT_FALSE(net.Initialize());
    EXPECT_TRUE(net.IsInitialized());
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(NetEngineTest, HostingWaitsForTheSetUpAndAFailedHostStaysHostWithoutASession) {
    LoopbackConfig(11);
    NetEngine net;
    std::vector<std::u16string> shown;
    net.ShowMessage = [&](const std::u16string& text) { shown.push_back(text); };
    bool loopRan = false;
    screen_->step = [&] { loopRan = true; };

    net.HostSession(u"early", u"", u"me");  // not set up: nothing at all
    EXPECT_FALSE(net.IsHost());
    EXPECT_FALSE(net.JoinSession(1, u"me", u""));

    ASSERT_TRUE(net.Initialize());
    net.HostSession(std::u16string(1025, u'x'), u"", u"me");  // a name the session refuses
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], u"无法建立游戏：名称或密码太长。");
    EXPECT_TRUE(net.IsHost());
    EXPECT_FALSE(net.IsInSession());
    EXPECT_FALSE(loopRan);
    EXPECT_EQ(net.GetPlayerCount(), 0);
    net.CloseSession();
    EXPECT_FALSE(net.IsHost());

    // The discovery port held by another program: hosting says which port is taken.
    const uint16_t port = nettest::TestPort(11);
    const int holder = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    ASSERT_EQ(::bind(holder, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    net.HostSession(u"taken", u"", u"me");
    ::close(holder);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], u"无法建立游戏：端口 " + platform::FromUtf8(std::to_string(port)) +
                            u" 已被占用：本机可能已有一个游戏在运行。");
    EXPECT_FALSE(net.IsInSession());
    net.CloseSession();
}

TEST_F(NetEngineTest, SessionsAreListedFromOneAndBadIndexesJoinNothing) {
    auto config = LoopbackConfig(12);
    std::string error;
    auto host = LanSession::Host(config, Desc(u"far", 150), {u"farbox", u"Host"}, nullptr, &error);
    ASSERT_TRUE(host) << error;

    NetEngine net;
    ASSERT_TRUE(net.Initialize());
    net.RefreshSessions();
    ASSERT_EQ(net.GetSessionCount(), 1);
    auto s = net.GetSession(1);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->name, u"far");
    EXPECT_EQ(s->currentPlayers, 1);
    EXPECT_EQ(s->user1, 150);
    EXPECT_FALSE(net.GetSession(0));
    EXPECT_FALSE(net.GetSession(2));

    bool updated = false;
    net.UpDatePlayer = [&] { updated = true; };
    EXPECT_FALSE(net.JoinSession(0, u"me", u""));
    EXPECT_FALSE(net.JoinSession(2, u"me", u""));
    EXPECT_FALSE(net.JoinSession(-1, u"me", u""));
    EXPECT_FALSE(updated);
    EXPECT_FALSE(net.IsInSession());
    // The host never heard of it.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(host->Waiting(), 0u);
    EXPECT_EQ(host->Players().size(), 1u);
}

// A join that fails tells the player why: the session is full, or its host has gone.
TEST_F(NetEngineTest, AFailedJoinKeepsItsReasonForThePlayer) {
    auto config = LoopbackConfig(19);
    SessionDesc alone = Desc(u"alone", 1);
    alone.maxPlayers = 1;
    std::string error;
    auto host = LanSession::Host(config, alone, {u"farbox", u"Host"}, nullptr, &error);
    ASSERT_TRUE(host) << error;

    NetEngine net;
    ASSERT_TRUE(net.Initialize());
    net.RefreshSessions();
    ASSERT_EQ(net.GetSessionCount(), 1);
    EXPECT_FALSE(net.JoinSession(1, u"me", u""));
    EXPECT_EQ(net.LastJoinFailure(), u"无法加入游戏：这个游戏已满员。");

    host->Close();
    host.reset();
    EXPECT_FALSE(net.JoinSession(1, u"me", u""));
    EXPECT_EQ(net.LastJoinFailure(), u"无法加入游戏：对方没有应答。");
}

TEST_F(NetEngineTest, AHostedSessionTurnsEveryMessageTypeIntoItsEvent) {
    auto config = LoopbackConfig(13);
    NetEngine net;
    ASSERT_TRUE(net.Initialize());
    Record(net);

    std::unique_ptr<nettest::RawPeer> peer;
    std::vector<SessionInfo> found;
    bool lastSeen = false;
    bool joinSeen = false;
    bool isHostInside = false;
    std::u16string namesInside;
    const auto upDate = net.UpDatePlayer;
    net.UpDatePlayer = [&] {
        upDate();
        if (net.GetPlayerCount() == 2) {
            joinSeen = true;
            isHostInside = net.IsHost();
            namesInside = net.GetPlayerName(1) + u"|" + net.GetPlayerName(2) + u"|" + net.GetPlayerName(3);
        }
        if (joinSeen && net.GetPlayerCount() == 1) net.CloseSession();
    };
    const auto ready = net.Ready;
    net.Ready = [&] {
        ready();
        net.SendSetting(1, 2, 3, 4);
        net.SendText(u"abc 警");
        net.RequestSetting();
        net.SendReady();
        net.SendOver();
        net.SendProgress(12, 1.6f);
    };
    const auto notify = net.ReceiveNotify;
    net.ReceiveNotify = [&](int32_t pos, float speed) {
        notify(pos, speed);
        if (pos == 99) lastSeen = true;
    };

    EveryFrame(net, [&] {
        if (!peer) {
            found = *SessionSearch::Run(config, kApplicationId);
            if (found.size() != 1) {
                ADD_FAILURE() << "sessions found: " << found.size();
                net.CloseSession();
                return;
            }
            peer = std::make_unique<nettest::RawPeer>(found[0].port);
            ASSERT_TRUE(peer->Join(u"rawbox"));
            peer->SendGame(GameMessage::Settings(3, 1, 0, 1).Encode());
            peer->SendGame(GameMessage::Text(u"警察 chase").Encode());
            peer->SendGame(GameMessage::Plain(GameMessage::kRequestSettings).Encode());
            peer->SendGame(GameMessage::Plain(GameMessage::kReady).Encode());
            peer->SendGame(GameMessage::Plain(GameMessage::kReserved).Encode());
            peer->Send({SessionPacket::kGame, 7, 0, 0, 0});
            peer->Send({SessionPacket::kGame, 6, 0, 0, 0, 1});
            peer->SendGame(GameMessage::Plain(GameMessage::kOver).Encode());
            peer->SendGame(GameMessage::Progress(12, 1.6f).Encode());
            peer->SendGame(GameMessage::Progress(99, 0.5f).Encode());
            return;
        }
        peer->Pump(0);
        if (lastSeen && peer->GameMessages().size() == 6 && !peer->Disconnected()) peer->Disconnect();
    });
    net.HostSession(u"警车", u"", u"hostbox");

    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, u"警车");
    EXPECT_EQ(found[0].currentPlayers, 1);
    EXPECT_GE(found[0].user1, 0);
    EXPECT_LT(found[0].user1, 200);
    EXPECT_TRUE(isHostInside);
    EXPECT_EQ(namesInside, u"hostbox|rawbox|");
    EXPECT_EQ(log_, (std::vector<std::string>{
                        "UpDatePlayer 0",  // the host's own player, before the session counts
                        "UpDatePlayer 2",
                        "SettingChange 3 1 0 1",
                        "GetString 8 35686",
                        "NeedSetting",
                        "Ready",
                        "Over",
                        "ReceiveNotify 12 1.6f",
                        "ReceiveNotify 99 0.500000",
                        "UpDatePlayer 1",
                    }));
    ASSERT_TRUE(peer);
    EXPECT_EQ(peer->GameMessages(), (std::vector<std::vector<uint8_t>>{
                                        GameMessage::Settings(1, 2, 3, 4).Encode(),
                                        GameMessage::Text(u"abc 警").Encode(),
                                        GameMessage::Plain(GameMessage::kRequestSettings).Encode(),
                                        GameMessage::Plain(GameMessage::kReady).Encode(),
                                        GameMessage::Plain(GameMessage::kOver).Encode(),
                                        GameMessage::Progress(12, 1.6f).Encode(),
                                    }));
    EXPECT_FALSE(net.IsHost());
    EXPECT_FALSE(net.IsInSession());
    EXPECT_EQ(net.GetPlayerCount(), 0);
}

TEST_F(NetEngineTest, AJoinedSideAsksForTheSettingsAndSendsNothingAfterClosing) {
    auto config = LoopbackConfig(14);
    std::string error;
    auto host = LanSession::Host(config, Desc(u"far", 7), {u"farbox", u"Host"}, nullptr, &error);
    ASSERT_TRUE(host) << error;

    NetEngine net;
    ASSERT_TRUE(net.Initialize());
    Record(net);
    net.RefreshSessions();
    ASSERT_EQ(net.GetSessionCount(), 1);

    std::vector<int32_t> atHost;
    bool hostInside = true;
    int32_t countInside = 0;
    const auto change = net.SettingChange;
    net.SettingChange = [&](uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
        change(a, b, c, d);
        hostInside = net.IsHost();
        countInside = net.GetPlayerCount();
        net.CloseSession();
    };
    EveryFrame(net, [&] {
        while (auto m = host->Receive()) {
            WireReader r(m->data);
            int32_t first = -1;
            r.Int32(first);
            atHost.push_back(m->from == 0 ? -first : first);
            if (m->from != 0 && first == GameMessage::kRequestSettings)
                host->Send(GameMessage::Settings(5, 0, 1, 1).Encode());
        }
    });
    EXPECT_TRUE(net.JoinSession(1, u"nearbox", u""));
    EXPECT_FALSE(hostInside);
    EXPECT_EQ(countInside, 2);
    EXPECT_EQ(log_, (std::vector<std::string>{"UpDatePlayer 0", "UpDatePlayer 2", "SettingChange 5 0 1 1"}));
    EXPECT_EQ(atHost, (std::vector<int32_t>{-kSystemPlayerCreated, GameMessage::kRequestSettings}));
    EXPECT_EQ(net.GetPlayerCount(), 0);

    net.SendReady();
    net.SendProgress(1, 1.0f);
    net.SendText(u"late");
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::vector<int32_t> after;
    while (auto m = host->Receive()) after.push_back(m->from);
    EXPECT_EQ(after, std::vector<int32_t>{0});  // only the leaving player's notice
}

TEST_F(NetEngineTest, AJoinedSideNoticesAVanishedHostWithinFiveSeconds) {
    auto config = LoopbackConfig(15);
    std::string error;
    auto host = LanSession::Host(config, Desc(u"doomed", 1), {u"farbox", u"Host"}, nullptr, &error);
    ASSERT_TRUE(host) << error;

    NetEngine net;
    ASSERT_TRUE(net.Initialize());
    Record(net);
    net.RefreshSessions();
    ASSERT_EQ(net.GetSessionCount(), 1);

    Clock::time_point vanished{};
    Clock::time_point noticed{};
    const auto upDate = net.UpDatePlayer;
    net.UpDatePlayer = [&] {
        upDate();
        if (net.GetPlayerCount() == 1) {
            noticed = Clock::now();
            net.CloseSession();
        }
    };
    EveryFrame(net, [&] {
        if (host && net.GetPlayerCount() == 2) {
            // Gone without a word, as a machine that lost its power.
            host.reset();
            vanished = Clock::now();
        }
    });
    EXPECT_TRUE(net.JoinSession(1, u"nearbox", u""));
    ASSERT_NE(noticed, Clock::time_point{});
    EXPECT_LT(noticed - vanished, std::chrono::seconds(5));
    EXPECT_EQ(log_.back(), "UpDatePlayer 1");
}

TEST_F(NetEngineTest, AThirdPlayerCannotJoinAFullSession) {
    auto config = LoopbackConfig(16);
    std::string error;
    auto host = LanSession::Host(config, Desc(u"full", 1), {u"a", u"Host"}, nullptr, &error);
    ASSERT_TRUE(host) << error;
    auto found = SessionSearch::Run(config, kApplicationId);
    ASSERT_TRUE(found && found->size() == 1);
    auto second = LanSession::Join(found->front(), u"", {u"b", u"Client"}, nullptr, LanSession::kJoinTimeout, &error);
    ASSERT_TRUE(second) << error;

    NetEngine net;
    ASSERT_TRUE(net.Initialize());
    net.RefreshSessions();
    ASSERT_EQ(net.GetSessionCount(), 1);
    EXPECT_EQ(net.GetSession(1)->currentPlayers, 2);
    // Frames run while the join waits; none of them inside a session loop.
    bool loopRan = false;
    screen_->step = [&] { loopRan = loopRan || net.IsRunning(); };
    EXPECT_FALSE(net.JoinSession(1, u"c", u""));
    EXPECT_FALSE(loopRan);
    EXPECT_FALSE(net.IsInSession());
    EXPECT_EQ(net.GetPlayerCount(), 0);
    EXPECT_EQ(host->Players().size(), 2u);
}
