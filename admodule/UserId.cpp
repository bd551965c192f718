#include "admodule/UserId.h"

#include "admodule/Checksums.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>
#include <limits>

namespace tavi {

std::optional<NodeAddress> FindNodeAddress() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return std::nullopt;
    std::optional<NodeAddress> best;
    int bestIndex = std::numeric_limits<int>::max();
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET) continue;
        if ((entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
        sockaddr_ll link;
        std::memcpy(&link, entry->ifa_addr, sizeof link);
        if (link.sll_halen != 6 || link.sll_ifindex >= bestIndex) continue;
        NodeAddress address;
        std::memcpy(address.data(), link.sll_addr, address.size());
        best = address;
        bestIndex = link.sll_ifindex;
    }
    freeifaddrs(list);
    return best;
}

std::string FormatNodeAddress(const std::optional<NodeAddress>& address) {
    std::string parts[6];
    if (address) {
        for (std::size_t i = 0; i < 6; ++i) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>((*address)[i]));
            parts[i] = hex;
            if (parts[i].size() == 1) parts[i] = "0" + parts[i];
        }
    }
    return parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3] + "." + parts[4] + "." + parts[5];
}

std::string MakeUserId(const std::optional<NodeAddress>& address) { return Md5Hex(FormatNodeAddress(address)); }

std::string MakeUserId() { return MakeUserId(FindNodeAddress()); }

}  // namespace tavi
