#pragma once
// Two network namespaces of the test's own, joined by a veth pair (192.0.2.1 and 192.0.2.2 with
// the broadcast address 192.0.2.255). Removing the namespaces removes the link. Needs root and a
// working `ip netns`; Skipped() says why a test cannot have them.
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testsupport {

inline bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

class VethLink {
public:
    static constexpr const char* kBroadcast = "192.0.2.255";

    // `tag` keeps the links of one test program apart.
    explicit VethLink(const std::string& tag = "") {
        if (geteuid() != 0) {
            why_ = "network namespaces need root";
            return;
        }
        if (!Shell("ip netns list")) {
            why_ = "ip netns does not work here";
            return;
        }
        const std::string id = std::to_string(getpid()) + tag;
        nsA_ = "glyphor-" + id + "-a";
        nsB_ = "glyphor-" + id + "-b";
        const std::string vA = "gv" + id + "a", vB = "gv" + id + "b";  // at most 15 characters
        made_ = Shell("ip netns add " + nsA_);
        const bool ok =
            made_ && Shell("ip netns add " + nsB_) &&
            Shell("ip link add " + vA + " netns " + nsA_ + " type veth peer name " + vB + " netns " + nsB_) &&
            Shell("ip -n " + nsA_ + " addr add 192.0.2.1/24 broadcast 192.0.2.255 dev " + vA) &&
            Shell("ip -n " + nsB_ + " addr add 192.0.2.2/24 broadcast 192.0.2.255 dev " + vB) &&
            Shell("ip -n " + nsA_ + " link set " + vA + " up") && Shell("ip -n " + nsB_ + " link set " + vB + " up");
        if (!ok) why_ = "cannot make a veth pair between namespaces";
    }
    ~VethLink() {
        if (!made_) return;
        Shell("ip netns del " + nsA_);
        Shell("ip netns del " + nsB_);
    }
    VethLink(const VethLink&) = delete;
    VethLink& operator=(const VethLink&) = delete;

    // Empty when the link stands; otherwise why it could not be made.
    const std::string& Skipped() const { return why_; }
    const std::string& A() const { return nsA_; }
    const std::string& B() const { return nsB_; }

private:
    std::string nsA_, nsB_;
    std::string why_;
    bool made_ = false;
};

}  // namespace testsupport
