// Sessions over loopback with the transport alone: no game, no display.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <thread>

#include <time.h>

#include "NetTestSupport.h"
#include "RawPeer.h"
#include "platform/net/DiscoveryQuery.h"
#include "platform/net/DiscoveryReply.h"
#include "platform/net/EnetClock.h"
#include "platform/net/GameMessage.h"
#include "platform/net/LanSession.h"
#include "platform/net/MessageInbox.h"
#include "platform/net/SessionPacket.h"
#include "platform/net/SessionSearch.h"
#include "platform/net/UdpSocket.h"
#include "platform/net/WireReader.h"

using namespace platform::net;
using nettest::LoopbackConfig;
using nettest::WaitFor;

namespace {

SessionDesc Desc(std::u16string name, int32_t user1, std::u16string password = u"") {
    SessionDesc d;
    d.name = std::move(name);
    d.user1 = user1;
    d.password = std::move(password);
    return d;
}

std::unique_ptr<LanSession> HostOn(const LanConfig& config, const SessionDesc& desc,
                                   std::function<void()> wake = nullptr) {
    std::string error;
    auto host = LanSession::Host(config, desc, {u"hostbox", u"Host"}, std::move(wake), &error);
    EXPECT_TRUE(host) << error;
    return host;
}

std::unique_ptr<LanSession> JoinFirst(const LanConfig& config, std::u16string name = u"clientbox",
                                      std::u16string password = u"") {
    auto found = SessionSearch::Run(config, kApplicationId);
    if (!found || found->empty()) return nullptr;
    return LanSession::Join(found->front(), password, {std::move(name), u"Client"}, nullptr, LanSession::kJoinTimeout,
                            nullptr);
}

// Takes what the session has queued so far: (sender, first value) pairs.
std::vector<std::pair<int32_t, int32_t>> Drain(LanSession& s) {
    std::vector<std::pair<int32_t, int32_t>> out;
    while (auto m = s.Receive()) {
        WireReader r(m->data);
        int32_t first = -1;
        r.Int32(first);
        out.emplace_back(m->from, first);
    }
    return out;
}

}  // namespace

// The network library times its packets by the monotonic clock: a wall clock set forward
// during a race makes no packet in flight look late, so the other player is not cut off.
TEST(TransportTest, TheNetworkLibraryTimesPacketsByTheMonotonicClock) {
    ASSERT_TRUE(StartEnet());
    ENetAddress address{};
    address.host = htonl(0x7F000001u);
    ENetHost* host = enet_host_create(&address, 1, 1, 0, 0);
    ASSERT_NE(host, nullptr);
    ENetEvent event{};
    enet_host_service(host, &event, 0);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto monotonicMs = static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + now.tv_nsec / 1000000);
    EXPECT_LE(monotonicMs - host->serviceTime, 1000u);
    enet_host_destroy(host);
}

TEST(TransportTest, SearchFindsEachSessionOnceWithNameCountAndUserValue) {
    auto config = LoopbackConfig(0);
    auto first = HostOn(config, Desc(u"甲机", 42));
    auto second = HostOn(config, Desc(u"second", 199));
    SessionDesc other = Desc(u"other game", 7);
    other.applicationId = "{00000000-0000-0000-0000-000000000000}";
    auto foreign = HostOn(config, other);

    auto found = SessionSearch::Run(config, kApplicationId);
    ASSERT_TRUE(found);
    // Two queries go out per search; each session is still listed once.
    ASSERT_EQ(found->size(), 2u);
    std::map<std::u16string, SessionInfo> byName;
    for (const auto& s : *found) byName[s.name] = s;
    ASSERT_TRUE(byName.count(u"甲机"));
    ASSERT_TRUE(byName.count(u"second"));
    EXPECT_EQ(byName[u"甲机"].user1, 42);
    EXPECT_EQ(byName[u"second"].user1, 199);
    EXPECT_EQ(byName[u"甲机"].currentPlayers, 1);
    EXPECT_EQ(byName[u"甲机"].maxPlayers, 2);
    EXPECT_EQ(byName[u"甲机"].port, first->SessionPort());
    EXPECT_EQ(byName[u"甲机"].address, 0x7F000001u);
}

TEST(TransportTest, TwoPlayersExchangeMessagesAndSeeEachOther) {
    auto config = LoopbackConfig(2);
    std::atomic<int> hostWakes{0};
    auto host = HostOn(config, Desc(u"race", 3), [&] { ++hostWakes; });
    auto client = JoinFirst(config);
    ASSERT_TRUE(client);

    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 2; }));
    const int32_t hostId = host->LocalPlayerId();
    const int32_t clientId = client->LocalPlayerId();
    EXPECT_NE(hostId, 0);
    EXPECT_NE(clientId, 0);
    EXPECT_NE(hostId, clientId);
    auto list = client->Players();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].id, hostId);
    EXPECT_EQ(list[0].shortName, u"hostbox");
    EXPECT_EQ(list[0].longName, u"Host");
    EXPECT_EQ(list[1].id, clientId);
    EXPECT_EQ(list[1].shortName, u"clientbox");
    EXPECT_EQ(list[1].longName, u"Client");
    EXPECT_EQ(host->Players()[1].shortName, u"clientbox");

    // Joining queues "player created" on both sides, and the host's thread woke the game.
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 1; }));
    EXPECT_GE(hostWakes.load(), 1);
    EXPECT_EQ(Drain(*host), (std::vector<std::pair<int32_t, int32_t>>{{0, kSystemPlayerCreated}}));
    EXPECT_EQ(Drain(*client), (std::vector<std::pair<int32_t, int32_t>>{{0, kSystemPlayerCreated}}));

    // Messages arrive in order with the sender's id.
    ASSERT_TRUE(client->Send(GameMessage::Plain(GameMessage::kRequestSettings).Encode()));
    ASSERT_TRUE(client->Send(GameMessage::Progress(12, 1.6f).Encode()));
    ASSERT_TRUE(host->Send(GameMessage::Text(u"The quick fox").Encode()));
    ASSERT_TRUE(host->Send(GameMessage::Plain(GameMessage::kReady).Encode()));
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 2 && client->Waiting() == 2; }));
    auto atHost = host->Receive();
    EXPECT_EQ(atHost->from, clientId);
    EXPECT_EQ(atHost->data, GameMessage::Plain(GameMessage::kRequestSettings).Encode());
    atHost = host->Receive();
    EXPECT_EQ(atHost->data, GameMessage::Progress(12, 1.6f).Encode());
    auto atClient = client->Receive();
    EXPECT_EQ(atClient->from, hostId);
    EXPECT_EQ(GameMessage::Decode(atClient->data)->text, u"The quick fox");
    EXPECT_EQ(client->Receive()->data, GameMessage::Plain(GameMessage::kReady).Encode());

    // The transport refuses to send what no receiver would accept.
    EXPECT_FALSE(client->Send({7, 0, 0, 0}));
    EXPECT_FALSE(client->Send({}));
}

TEST(TransportTest, AFullSessionIsListedAsFullAndRefusesAThirdPlayer) {
    auto config = LoopbackConfig(3);
    auto host = HostOn(config, Desc(u"full", 1));
    auto client = JoinFirst(config, u"second");
    ASSERT_TRUE(client);
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 2; }));

    auto found = SessionSearch::Run(config, kApplicationId);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().currentPlayers, 2);

    auto start = std::chrono::steady_clock::now();
    auto third =
        LanSession::Join(found->front(), u"", {u"third", u"Client"}, nullptr, LanSession::kJoinTimeout, nullptr);
    EXPECT_FALSE(third);
    // Refused outright, not left to time out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, LanSession::kJoinTimeout);
    EXPECT_EQ(host->Players().size(), 2u);
    EXPECT_EQ(client->Players().size(), 2u);
}

// Connections that never ask to join (more of them than there are waiting slots) neither fill
// the session nor show in its player count: a real player joins at once, and a late join from
// one of them finds the session full.
TEST(TransportTest, SilentConnectionsNeverKeepARealPlayerOut) {
    auto config = LoopbackConfig(18);
    auto host = HostOn(config, Desc(u"lobby", 1));
    std::vector<std::unique_ptr<nettest::RawPeer>> silent;
    for (size_t i = 0; i <= LanSession::kMaxPending; ++i) {
        silent.push_back(std::make_unique<nettest::RawPeer>(host->SessionPort()));
        ASSERT_TRUE(silent.back()->Connect()) << i;
    }
    auto found = SessionSearch::Run(config, kApplicationId);
    ASSERT_TRUE(found && found->size() == 1u);
    EXPECT_EQ(found->front().currentPlayers, 1);

    const auto start = std::chrono::steady_clock::now();
    auto client = JoinFirst(config, u"real");
    ASSERT_TRUE(client);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 2; }));
    found = SessionSearch::Run(config, kApplicationId);
    ASSERT_TRUE(found && found->size() == 1u);
    EXPECT_EQ(found->front().currentPlayers, 2);

    // The one that waited longest gave way to the newest; the others are refused when they ask.
    silent.front()->Pump(100);
    EXPECT_TRUE(silent.front()->Disconnected());
    silent.back()->Send(SessionPacket::Join(u"", u"late", u"Client").Encode());
    silent.back()->Pump(300);
    EXPECT_TRUE(silent.back()->Disconnected());
    EXPECT_EQ(host->Players().size(), 2u);
    EXPECT_EQ(client->Players().size(), 2u);
}

TEST(TransportTest, HalfDoneHandshakesNeverKeepARealPlayerOut) {
    auto config = LoopbackConfig(21);
    auto host = HostOn(config, Desc(u"lobby", 1));
    std::vector<std::unique_ptr<nettest::RawPeer>> stalled;
    for (int i = 0; i < 24; ++i) {
        stalled.push_back(std::make_unique<nettest::RawPeer>(host->SessionPort()));
        stalled.back()->RequestOnly();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    const auto start = std::chrono::steady_clock::now();
    auto client = JoinFirst(config, u"real");
    ASSERT_TRUE(client);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(WaitFor([&] { return host->Players().size() == 2; }));
}

TEST(TransportTest, AWrongPasswordOrAVanishedSessionRefusesTheJoin) {
    auto config = LoopbackConfig(4);
    auto host = HostOn(config, Desc(u"locked", 1, u"secret"));
    EXPECT_FALSE(JoinFirst(config, u"guest", u"guess"));
    auto found = SessionSearch::Run(config, kApplicationId);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().currentPlayers, 1);

    host.reset();
    auto gone = LanSession::Join(found->front(), u"secret", {u"late", u"Client"}, nullptr,
                                 std::chrono::milliseconds(500), nullptr);
    EXPECT_FALSE(gone);
}

TEST(TransportTest, AClientThatLeavesIsDestroyedAndItsPlaceCanBeTaken) {
    auto config = LoopbackConfig(5);
    auto host = HostOn(config, Desc(u"open", 1));
    auto client = JoinFirst(config, u"first");
    ASSERT_TRUE(client);
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 1; }));
    Drain(*host);

    client->Close();
    EXPECT_TRUE(client->Players().empty());
    EXPECT_FALSE(client->Send(GameMessage::Plain(GameMessage::kOver).Encode()));
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 1; }, std::chrono::milliseconds(1000)));
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 1; }));
    EXPECT_EQ(Drain(*host), (std::vector<std::pair<int32_t, int32_t>>{{0, kSystemPlayerDestroyed}}));

    auto next = JoinFirst(config, u"next");
    ASSERT_TRUE(next);
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 2; }));
    EXPECT_EQ(host->Players()[1].shortName, u"next");
}

TEST(TransportTest, AFullInboxDropsTheOtherPlayerInsteadOfLosingMessages) {
    auto config = LoopbackConfig(17);
    auto host = HostOn(config, Desc(u"busy", 1));
    auto client = JoinFirst(config, u"chatty");
    ASSERT_TRUE(client);
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 1; }));
    Drain(*host);

    // Nobody takes the host's messages: the client sends more than the inbox holds.
    const int32_t sent = static_cast<int32_t>(MessageInbox::kCapacity) + 100;
    for (int32_t i = 0; i < sent; ++i) {
        ASSERT_TRUE(client->Send(GameMessage::Progress(i, 1.0f).Encode()));
        // In steps the client's own outbox can hold.
        if (i % 200 == 199) {
            const size_t arrived = std::min<size_t>(static_cast<size_t>(i) + 1, MessageInbox::kCapacity);
            ASSERT_TRUE(WaitFor([&] { return host->Waiting() >= arrived; }));
        }
    }
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 1; }, std::chrono::milliseconds(5000)));
    ASSERT_TRUE(WaitFor([&] { return client->Players().size() == 1; }, std::chrono::milliseconds(5000)));

    // Every message kept is in order with none missing, and the notice that the player left
    // comes after them.
    std::vector<ReceivedMessage> taken;
    while (auto m = host->Receive()) taken.push_back(*m);
    ASSERT_EQ(taken.size(), MessageInbox::kCapacity + 1);
    for (size_t i = 0; i < MessageInbox::kCapacity; ++i) {
        auto m = GameMessage::Decode(taken[i].data);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->inputPos, static_cast<int32_t>(i));
    }
    EXPECT_EQ(taken.back().from, 0);
    WireReader r(taken.back().data);
    int32_t code = 0;
    r.Int32(code);
    EXPECT_EQ(code, kSystemPlayerDestroyed);
    // The client is told as well.
    bool destroyed = false;
    for (auto [from, first] : Drain(*client)) destroyed = destroyed || (from == 0 && first == kSystemPlayerDestroyed);
    EXPECT_TRUE(destroyed);
}

TEST(TransportTest, MessagesSentJustBeforeClosingStillArrive) {
    auto config = LoopbackConfig(6);
    auto host = HostOn(config, Desc(u"bye", 1));
    auto client = JoinFirst(config);
    ASSERT_TRUE(client);
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 1; }));
    Drain(*host);
    ASSERT_TRUE(client->Send(GameMessage::Plain(GameMessage::kOver).Encode()));
    client->Close();
    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 2; }));
    auto got = Drain(*host);
    EXPECT_EQ(got[0].second, GameMessage::kOver);
    EXPECT_EQ(got[1], std::make_pair(0, static_cast<int32_t>(kSystemPlayerDestroyed)));
}

TEST(TransportTest, AClientNoticesAHostThatVanishesWithoutClosing) {
    auto config = LoopbackConfig(7);
    auto host = HostOn(config, Desc(u"crash", 1));
    auto client = JoinFirst(config);
    ASSERT_TRUE(client);
    Drain(*client);
    ASSERT_TRUE(WaitFor([&] { return host->Players().size() == 2; }));

    // Destroying the session sends nothing: to the client the host just goes silent.
    host.reset();
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([&] { return client->Players().size() == 1; }, std::chrono::milliseconds(5000)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, LanSession::kVanishedAfter);
    EXPECT_EQ(client->Players()[0].id, client->LocalPlayerId());
    EXPECT_EQ(Drain(*client), (std::vector<std::pair<int32_t, int32_t>>{{0, kSystemPlayerDestroyed}}));
    // Nobody is left to send to; sending is harmless.
    EXPECT_TRUE(client->Send(GameMessage::Plain(GameMessage::kOver).Encode()));
}

TEST(TransportTest, MalformedPacketsFromAPeerAreDropped) {
    auto config = LoopbackConfig(8);
    auto host = HostOn(config, Desc(u"guarded", 1));
    nettest::RawPeer peer(host->SessionPort());
    // A game message before joining is not from a player.
    ASSERT_TRUE(peer.Connect());
    peer.SendGame(GameMessage::Plain(GameMessage::kReady).Encode());
    ASSERT_TRUE(peer.Join(u"raw"));
    std::vector<std::vector<uint8_t>> bad = {
        {},
        {SessionPacket::kGame},
        {SessionPacket::kGame, 7, 0, 0, 0},
        {SessionPacket::kGame, 4, 0, 0, 0, 9},
        {SessionPacket::kGame, 6, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0x80, 0x7F},  // +infinity
        {SessionPacket::kGame, 1, 0, 0, 0, 0x01, 0x04, 0, 0},               // 1025 units claimed
        {SessionPacket::kJoin, 0, 0, 0, 0},
        {0x42, 1, 2, 3},
    };
    for (auto& b : bad) peer.Send(b);
    peer.SendGame(GameMessage::Plain(GameMessage::kOver).Encode());
    peer.Pump(300);

    ASSERT_TRUE(WaitFor([&] { return host->Waiting() == 2; }));
    auto got = Drain(*host);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].second, kSystemPlayerCreated);
    EXPECT_EQ(got[1].second, GameMessage::kOver);
    EXPECT_EQ(host->Players().size(), 2u);
}

TEST(TransportTest, MalformedDatagramsAreDroppedOnBothSidesOfDiscovery) {
    auto config = LoopbackConfig(9);
    auto host = HostOn(config, Desc(u"real", 5));

    // Garbage to the host's discovery port does not stop it answering.
    UdpSocket noise;
    ASSERT_TRUE(noise.Open(0, false, nullptr));
    std::vector<std::vector<uint8_t>> junk = {
        {}, {'G', 'L', 'Y', 'D'}, {'G', 'L', 'Y', 'D', 1, 0xFF}, std::vector<uint8_t>(3000, 0x55)};
    for (auto& j : junk) noise.SendTo(j, 0x7F000001u, config.port);

    // A fake responder answers every query with broken or foreign replies.
    UdpSocket fake;
    ASSERT_TRUE(fake.Open(config.port, true, nullptr));
    std::atomic<bool> stop{false};
    std::thread responder([&] {
        while (!stop) {
            auto q = fake.Receive(20, 4096);
            if (!q || q->bytes.size() < 13) continue;
            uint64_t token = 0;
            for (int i = 0; i < 8; ++i) token |= static_cast<uint64_t>(q->bytes[5 + i]) << (8 * i);
            DiscoveryReply r;
            r.token = token;
            r.applicationId = kApplicationId;
            r.instance = 1;
            r.sessionName = u"fake";
            r.currentPlayers = 1;
            r.maxPlayers = 2;
            r.port = 9;
            DiscoveryReply stale = r;
            stale.token ^= 1;
            DiscoveryReply foreign = r;
            foreign.applicationId = "{0}";
            auto cut = r.Encode();
            cut.pop_back();
            for (const auto& bytes : {stale.Encode(), foreign.Encode(), cut}) fake.SendTo(bytes, q->address, q->port);
        }
    });
    auto found = SessionSearch::Run(config, kApplicationId);
    stop = true;
    responder.join();
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().name, u"real");
    EXPECT_EQ(found->front().user1, 5);
}

// A peer that answers a search again and again as ever new sessions fills the list only up to
// its bound.
TEST(TransportTest, AFloodOfAnswersListsNoMoreThanTheBound) {
    auto config = LoopbackConfig(20);
    UdpSocket flood;
    ASSERT_TRUE(flood.Open(config.port, true, nullptr));
    std::thread responder([&] {
        for (uint64_t instance = 0; instance < 2000;) {
            auto q = flood.Receive(1000, DiscoveryQuery::kMaxDatagram);
            if (!q) return;
            auto query = DiscoveryQuery::Decode(q->bytes);
            if (!query) continue;
            DiscoveryReply r;
            r.token = query->token;
            r.applicationId = kApplicationId;
            r.sessionName = u"flood";
            r.currentPlayers = 1;
            r.maxPlayers = 2;
            r.port = 9;
            for (int i = 0; i < 1000; ++i, ++instance) {
                r.instance = instance;
                flood.SendTo(r.Encode(), q->address, q->port);
            }
        }
    });
    auto found = SessionSearch::Run(config, kApplicationId);
    responder.join();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->size(), SessionSearch::kMaxSessions);
}
