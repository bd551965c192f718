// One side of a two-process session for the namespace test: `net_lan_peer host NAME` hosts a
// session and answers a text with a progress message; `net_lan_peer join` finds a session,
// sends a text and waits for the answer. Both read GLYPHOR_LAN_BROADCAST / GLYPHOR_LAN_PORT and
// print what they saw, one fact a line; the exit status is 0 when everything happened.
#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "platform/net/GameMessage.h"
#include "platform/net/SessionService.h"
#include "platform/net/WireReader.h"

using namespace platform::net;
using Clock = std::chrono::steady_clock;

namespace {

std::string Narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

std::u16string Widen(const char* s) {
    std::u16string out;
    for (; *s; ++s) out.push_back(static_cast<unsigned char>(*s));
    return out;
}

int Host(SessionService& service, const char* name) {
    SessionDesc desc;
    desc.name = Widen(name);
    desc.user1 = 77;
    std::string error;
    if (!service.Host(desc, {u"nshost", u"Host"}, &error)) {
        std::printf("error %s\n", error.c_str());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    bool joined = false, texted = false, left = false;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!left && Clock::now() < deadline) {
        auto m = service.Receive();
        if (!m) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (m->from == 0) {
            WireReader r(m->data);
            int32_t code = 0;
            r.Int32(code);
            if (code == kSystemPlayerCreated) joined = true;
            if (code == kSystemPlayerDestroyed) left = true;
            continue;
        }
        auto g = GameMessage::Decode(m->data);
        if (g && g->type == GameMessage::kText) {
            std::printf("text %s\n", Narrow(g->text).c_str());
            texted = true;
            service.Send(GameMessage::Progress(12, 1.6f).Encode());
        }
    }
    std::printf("joined %d texted %d left %d\n", joined, texted, left);
    service.Close();
    return joined && texted && left ? 0 : 1;
}

int Join(SessionService& service) {
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    std::vector<SessionInfo> found;
    while (found.empty() && Clock::now() < deadline) {
        if (auto list = service.Search(kApplicationId)) found = *list;
    }
    if (found.empty()) {
        std::printf("nothing found\n");
        return 1;
    }
    const SessionInfo& s = found.front();
    in_addr addr{htonl(s.address)};
    std::printf("found %s players %d user %d at %s\n", Narrow(s.name).c_str(), s.currentPlayers, s.user1,
                inet_ntoa(addr));
    if (!service.Join(s, u"", {u"nsclient", u"Client"})) {
        std::printf("join refused\n");
        return 1;
    }
    service.Send(GameMessage::Text(u"hello").Encode());
    bool answered = false;
    while (!answered && Clock::now() < deadline) {
        auto m = service.Receive();
        if (!m) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        auto g = m->from ? GameMessage::Decode(m->data) : std::nullopt;
        if (g && g->type == GameMessage::kProgress) {
            std::printf("progress %d %s\n", g->inputPos, g->speed == 1.6f ? "1.6" : "other");
            answered = true;
        }
    }
    service.Close();
    return answered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto service = SessionService::Create(nullptr, &error);
    if (!service) {
        std::printf("error %s\n", error.c_str());
        return 2;
    }
    if (argc == 3 && std::strcmp(argv[1], "host") == 0) return Host(*service, argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "join") == 0) return Join(*service);
    std::fprintf(stderr, "usage: net_lan_peer host NAME | net_lan_peer join\n");
    return 2;
}
