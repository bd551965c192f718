// Two processes in two network namespaces joined by a veth pair: discovery broadcasts on the
// link's own broadcast address and the session crosses a real link. The machine's own
// interfaces see none of it. Needs root and a working `ip netns`; skipped otherwise.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "NetTestSupport.h"
#include "tests/support/VethLink.h"

namespace {

std::string ReadLine(FILE* f) {
    char buf[512];
    if (!std::fgets(buf, sizeof buf, f)) return {};
    std::string s(buf);
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

std::string ReadAll(FILE* f) {
    std::string out;
    for (std::string line; !(line = ReadLine(f)).empty();) out += line + "\n";
    return out;
}

int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

TEST(NamespaceTest, DiscoveryAndASessionCrossAVethLinkBetweenTwoProcesses) {
    testsupport::VethLink link;
    if (!link.Skipped().empty()) GTEST_SKIP() << link.Skipped();

    const std::string env =
        "env GLYPHOR_LAN_BROADCAST=192.0.2.255 GLYPHOR_LAN_PORT=" + std::to_string(nettest::TestPort(20)) + " ";
    FILE* host = popen(("ip netns exec " + link.A() + " " + env + GLYPHOR_NET_PEER " host nsgame").c_str(), "r");
    ASSERT_TRUE(host);
    ASSERT_EQ(ReadLine(host), "ready");
    FILE* join = popen(("ip netns exec " + link.B() + " " + env + GLYPHOR_NET_PEER " join").c_str(), "r");
    ASSERT_TRUE(join);
    const std::string joinOut = ReadAll(join);
    const int joinCode = ExitCode(pclose(join));
    const std::string hostOut = ReadAll(host);
    const int hostCode = ExitCode(pclose(host));

    EXPECT_EQ(joinOut, "found nsgame players 1 user 77 at 192.0.2.1\nprogress 12 1.6\n");
    EXPECT_EQ(joinCode, 0);
    EXPECT_EQ(hostOut, "text hello\njoined 1 texted 1 left 1\n");
    EXPECT_EQ(hostCode, 0);
}
