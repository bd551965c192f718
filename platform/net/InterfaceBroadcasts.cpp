#include "platform/net/InterfaceBroadcasts.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

namespace platform::net {

namespace {
uint32_t Ipv4(const sockaddr* address) {
    if (address == nullptr || address->sa_family != AF_INET) return 0;
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}
}  // namespace

std::vector<uint32_t> BroadcastTargets(const std::vector<InterfaceAddress>& interfaces) {
    std::vector<uint32_t> targets;
    for (const InterfaceAddress& i : interfaces) {
        if (!i.up || i.loopback || !i.broadcastCapable || i.address == 0) continue;
        const uint32_t target = i.broadcast != 0 ? i.broadcast : (i.address | ~i.netmask);
        if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
    }
    return targets;
}

std::vector<uint32_t> InterfaceBroadcasts() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return {};
    std::vector<InterfaceAddress> interfaces;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        InterfaceAddress i;
        i.up = (entry->ifa_flags & IFF_UP) != 0;
        i.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        i.broadcastCapable = (entry->ifa_flags & IFF_BROADCAST) != 0;
        i.address = Ipv4(entry->ifa_addr);
        i.netmask = Ipv4(entry->ifa_netmask);
        if (i.broadcastCapable) i.broadcast = Ipv4(entry->ifa_broadaddr);
        interfaces.push_back(i);
    }
    ::freeifaddrs(list);
    return BroadcastTargets(interfaces);
}

}  // namespace platform::net
