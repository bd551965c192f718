#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/net/DiscoveryQuery.h"
#include "platform/net/DiscoveryReply.h"
#include "platform/net/GameMessage.h"
#include "platform/net/InterfaceBroadcasts.h"
#include "platform/net/LanConfig.h"
#include "platform/net/SessionPacket.h"
#include "platform/net/WireWriter.h"

using namespace platform::net;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (int b : list) out.push_back(static_cast<uint8_t>(b));
    return out;
}

}  // namespace

TEST(GameMessageTest, EncodesLittleEndianWithBinary32AndUtf16Strings) {
    EXPECT_EQ(GameMessage::Progress(12, 1.6f).Encode(), Bytes({6, 0, 0, 0, 12, 0, 0, 0, 0xCD, 0xCC, 0xCC, 0x3F}));
    EXPECT_EQ(GameMessage::Text(u"A警").Encode(), Bytes({1, 0, 0, 0, 2, 0, 0, 0, 0x41, 0, 0x66, 0x8B}));
    EXPECT_EQ(GameMessage::Settings(3, 1, 0, 1).Encode(), Bytes({0, 0, 0, 0, 3, 1, 0, 1}));
    EXPECT_EQ(GameMessage::Plain(GameMessage::kOver).Encode(), Bytes({5, 0, 0, 0}));
}

TEST(GameMessageTest, EveryTypeOfTheTableRoundTrips) {
    auto settings = GameMessage::Decode(GameMessage::Settings(7, 1, 1, 0).Encode());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->type, GameMessage::kSettings);
    EXPECT_EQ(settings->textListId, 7);
    EXPECT_EQ(settings->serverPlayerId, 1);
    EXPECT_EQ(settings->policeCarOrBike, 1);
    EXPECT_EQ(settings->thiefCarOrBike, 0);

    std::u16string longest(kMaxStringUnits, u'x');
    auto text = GameMessage::Decode(GameMessage::Text(longest).Encode());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, longest);

    for (auto type : {GameMessage::kRequestSettings, GameMessage::kReady, GameMessage::kReserved, GameMessage::kOver}) {
        auto plain = GameMessage::Decode(GameMessage::Plain(type).Encode());
        ASSERT_TRUE(plain);
        EXPECT_EQ(plain->type, type);
    }

    auto progress = GameMessage::Decode(GameMessage::Progress(-5, 1.6f).Encode());
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->inputPos, -5);
    EXPECT_EQ(progress->speed, 1.6f);
}

TEST(GameMessageTest, MalformedMessagesAreRefused) {
    EXPECT_FALSE(GameMessage::Decode({}));
    EXPECT_FALSE(GameMessage::Decode(Bytes({3, 0, 0})));                  // type cut short
    EXPECT_FALSE(GameMessage::Decode(Bytes({7, 0, 0, 0})));               // unknown type
    EXPECT_FALSE(GameMessage::Decode(Bytes({0xFF, 0xFF, 0xFF, 0xFF})));   // -1
    EXPECT_FALSE(GameMessage::Decode(Bytes({3, 0, 0, 0, 0})));            // a byte too many
    EXPECT_FALSE(GameMessage::Decode(Bytes({0, 0, 0, 0, 1, 2, 3})));      // settings short
    EXPECT_FALSE(GameMessage::Decode(Bytes({6, 0, 0, 0, 12, 0, 0, 0})));  // no speed

    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        EXPECT_FALSE(GameMessage::Decode(GameMessage::Progress(1, bad).Encode())) << bad;
    }

    EXPECT_FALSE(GameMessage::Decode(GameMessage::Text(std::u16string(kMaxStringUnits + 1, u'x')).Encode()));
    // A count that claims more units than the bytes hold, and one near 2^32.
    EXPECT_FALSE(GameMessage::Decode(Bytes({1, 0, 0, 0, 3, 0, 0, 0, 0x41, 0})));
    EXPECT_FALSE(GameMessage::Decode(Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x41, 0})));
    // An odd byte after the units.
    EXPECT_FALSE(GameMessage::Decode(Bytes({1, 0, 0, 0, 1, 0, 0, 0, 0x41, 0, 0})));
}

TEST(SessionPacketTest, ImpossibleRecordsAreRefused) {
    EXPECT_FALSE(SessionPacket::Decode({}));
    EXPECT_FALSE(SessionPacket::Decode(Bytes({9})));
    // Game record carrying an invalid game message.
    EXPECT_FALSE(SessionPacket::Decode(Bytes({SessionPacket::kGame, 7, 0, 0, 0})));
    // Player id 0, duplicated ids, an accepted id missing from the list.
    EXPECT_FALSE(SessionPacket::Decode(SessionPacket::Players({{0, u"a", u"b"}}).Encode()));
    EXPECT_FALSE(SessionPacket::Decode(SessionPacket::Players({{4, u"a", u"b"}, {4, u"c", u"d"}}).Encode()));
    EXPECT_FALSE(SessionPacket::Decode(SessionPacket::Accept(5, {{4, u"a", u"b"}}).Encode()));
    // More players than a session can hold.
    std::vector<PlayerInfo> many;
    for (int i = 1; i <= 9; ++i) many.push_back({i, u"p", u"q"});
    EXPECT_FALSE(SessionPacket::Decode(SessionPacket::Players(many).Encode()));
    // Trailing bytes, and a record larger than allowed.
    auto refuse = SessionPacket::Refuse(SessionPacket::kFull).Encode();
    refuse.push_back(0);
    EXPECT_FALSE(SessionPacket::Decode(refuse));
    std::vector<uint8_t> huge(SessionPacket::kMaxBytes + 1, 0);
    huge[0] = SessionPacket::kRefuse;
    EXPECT_FALSE(SessionPacket::Decode(huge));
}

TEST(DiscoveryTest, QueriesAndRepliesRoundTripAndBadOnesAreRefused) {
    DiscoveryQuery query{0x1122334455667788ull, kApplicationId};
    auto q = DiscoveryQuery::Decode(query.Encode());
    ASSERT_TRUE(q);
    EXPECT_EQ(q->token, query.token);
    EXPECT_EQ(q->applicationId, kApplicationId);

    DiscoveryReply reply;
    reply.token = 5;
    reply.applicationId = kApplicationId;
    reply.instance = 77;
    reply.sessionName = u"桌面-1";
    reply.currentPlayers = 1;
    reply.maxPlayers = 2;
    reply.user1 = 123;
    reply.port = 4000;
    auto r = DiscoveryReply::Decode(reply.Encode());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->sessionName, u"桌面-1");
    EXPECT_EQ(r->user1, 123);
    EXPECT_EQ(r->port, 4000);

    // A reply is not a query and the other way round.
    EXPECT_FALSE(DiscoveryQuery::Decode(reply.Encode()));
    EXPECT_FALSE(DiscoveryReply::Decode(query.Encode()));
    auto badMagic = query.Encode();
    badMagic[0] = 'X';
    EXPECT_FALSE(DiscoveryQuery::Decode(badMagic));
    auto cut = reply.Encode();
    cut.pop_back();
    EXPECT_FALSE(DiscoveryReply::Decode(cut));

    auto broken = [&](auto change) {
        DiscoveryReply copy = reply;
        change(copy);
        return !DiscoveryReply::Decode(copy.Encode());
    };
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.currentPlayers = 3; }));
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.currentPlayers = -1; }));
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.maxPlayers = 0; }));
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.port = 0; }));
    // The lobby computes its latency column from the user value: only 0..199 are listed.
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.user1 = 200; }));
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.user1 = -1; }));
    EXPECT_FALSE(broken([](DiscoveryReply& x) { x.user1 = 199; }));
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.sessionName.assign(kMaxStringUnits + 1, u'n'); }));
    EXPECT_TRUE(broken([](DiscoveryReply& x) { x.applicationId.assign(65, 'a'); }));

    // A non-ASCII identifier unit.
    WireWriter w;
    for (uint8_t b : kDiscoveryMagic) w.Byte(b);
    w.Byte(DiscoveryQuery::kKind).UInt64(1).String(u"{é}");
    EXPECT_FALSE(DiscoveryQuery::Decode(w.Bytes()));
}

TEST(LanConfigTest, EnvironmentOverridesAndRefusesNonsense) {
    EXPECT_FALSE(LanConfig::ParseAddress("300.1.1.1"));
    EXPECT_FALSE(LanConfig::ParsePort("0"));
    EXPECT_FALSE(LanConfig::ParsePort("65536"));
    EXPECT_FALSE(LanConfig::ParsePort("12x"));

    unsetenv("GLYPHOR_LAN_BROADCAST");
    unsetenv("GLYPHOR_LAN_PORT");
    auto defaults = LanConfig::FromEnvironment();
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->broadcast, 0xFFFFFFFFu);
    EXPECT_EQ(defaults->port, LanConfig::kDefaultPort);
    // Unset, the search goes to every interface's broadcast address; set, to that one alone.
    EXPECT_TRUE(defaults->everyInterface);

    setenv("GLYPHOR_LAN_BROADCAST", "127.255.255.255", 1);
    setenv("GLYPHOR_LAN_PORT", "30001", 1);
    auto set = LanConfig::FromEnvironment();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->broadcast, 0x7FFFFFFFu);
    EXPECT_EQ(set->port, 30001);
    EXPECT_EQ(set->Targets(), std::vector<uint32_t>{0x7FFFFFFFu});

    setenv("GLYPHOR_LAN_PORT", "none", 1);
    std::string error;
    EXPECT_FALSE(LanConfig::FromEnvironment(&error));
    EXPECT_NE(error.find("GLYPHOR_LAN_PORT"), std::string::npos);
    setenv("GLYPHOR_LAN_BROADCAST", "127.255.255.255", 1);
    unsetenv("GLYPHOR_LAN_PORT");
}

TEST(LanConfigTest, BroadcastTargetsAreTheUpNonLoopbackInterfacesEachOnce) {
    InterfaceAddress lo{true, true, false, 0x7F000001u, 0xFF000000u, 0};
    InterfaceAddress eth{true, false, true, 0xC0A80105u, 0xFFFFFF00u, 0xC0A801FFu};
    InterfaceAddress down{false, false, true, 0x0A000001u, 0xFF000000u, 0x0AFFFFFFu};
    InterfaceAddress noBroadcastGiven{true, false, true, 0xAC100001u, 0xFFFF0000u, 0};
    InterfaceAddress pointToPoint{true, false, false, 0x0B000001u, 0xFFFFFFFFu, 0};
    InterfaceAddress sameLan = eth;
    sameLan.address = 0xC0A80106u;
    EXPECT_EQ(BroadcastTargets({lo, eth, down, noBroadcastGiven, pointToPoint, sameLan}),
              (std::vector<uint32_t>{0xC0A801FFu, 0xAC10FFFFu}));
    EXPECT_TRUE(BroadcastTargets({lo}).empty());
}
