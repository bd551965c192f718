#pragma once
// The user id: an MD5 digest of the address of the computer's network adapter.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tavi {

using NodeAddress = std::array<std::uint8_t, 6>;

// The hardware address of the first non-loopback interface with a six-byte address, in the
// order of the interface indexes; none when there is no such interface.
std::optional<NodeAddress> FindNodeAddress();

// "aa.bb.cc.dd.ee.ff" in lowercase hexadecimal, two digits a byte; "....." without an address.
std::string FormatNodeAddress(const std::optional<NodeAddress>& address);

// The MD5 of the formatted node address, 32 lowercase hexadecimal digits.
std::string MakeUserId(const std::optional<NodeAddress>& address);
std::string MakeUserId();

}  // namespace tavi
