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

namespace {

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Creates the namespaces and the link; removes them (and so the link) when done.
class VethLink {
public:
    VethLink() {
        const std::string id = std::to_string(getpid());
        nsA_ = "glyphor-" + id + "-a";
        nsB_ = "glyphor-" + id + "-b";
        const std::string vA = "gv" + id + "a", vB = "gv" + id + "b";  // at most 15 characters
        ok_ = Shell("ip netns add " + nsA_) && Shell("ip netns add " + nsB_) &&
              Shell("ip link add " + vA + " netns " + nsA_ + " type veth peer name " + vB + " netns " + nsB_) &&
              Shell("ip -n " + nsA_ + " addr add 192.0.2.1/24 broadcast 192.0.2.255 dev " + vA) &&
              Shell("ip -n " + nsB_ + " addr add 192.0.2.2/24 broadcast 192.0.2.255 dev " + vB) &&
              Shell("ip -n " + nsA_ + " link set " + vA + " up") && Shell("ip -n " + nsB_ + " link set " + vB + " up");
    }
    ~VethLink() {
        Shell("ip netns del " + nsA_);
        Shell("ip netns del " + nsB_);
    }
    bool Ok() const { return ok_; }
    const std::string& A() const { return nsA_; }
    const std::string& B() const { return nsB_; }

private:
    std::string nsA_, nsB_;
    bool ok_ = false;
};

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
    if (geteuid() != 0) GTEST_SKIP() << "needs root";
    if (!Shell("ip netns list")) GTEST_SKIP() << "ip netns does not work here";
    VethLink link;
    if (!link.Ok()) GTEST_SKIP() << "cannot make a veth pair between namespaces";

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
