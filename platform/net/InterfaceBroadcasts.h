#pragma once
#include <cstdint>
#include <vector>

namespace platform::net {

// One IPv4 address of an interface, as the system lists it (host byte order).
struct InterfaceAddress {
    bool up = false;
    bool loopback = false;
    bool broadcastCapable = false;
    uint32_t address = 0;
    uint32_t netmask = 0;
    uint32_t broadcast = 0;  // the interface's broadcast address; 0 when it has none
};

// The broadcast address of every up, non-loopback interface that can broadcast, each once, in
// the order listed. An interface without a broadcast address of its own gets the one its
// address and netmask give.
std::vector<uint32_t> BroadcastTargets(const std::vector<InterfaceAddress>& interfaces);

// BroadcastTargets of this machine's (or this network namespace's) interfaces.
std::vector<uint32_t> InterfaceBroadcasts();

}  // namespace platform::net
