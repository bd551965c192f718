#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform::net {

// The application identifier every session and every search carries: only sessions with the
// searching side's identifier are found.
inline constexpr const char* kApplicationId = "{9073823A-A565-4865-87EC-19B93B214D28}";

// Longest text a message or a session description may carry, in UTF-16 code units.
inline constexpr uint32_t kMaxStringUnits = 1024;

// Codes of the system messages queued with sender 0.
enum SystemCode : int32_t {
    kSystemPlayerCreated = 3,
    kSystemPlayerDestroyed = 5,
};

// What a host writes into a new session.
struct SessionDesc {
    std::string applicationId = kApplicationId;
    int32_t maxPlayers = 2;
    std::u16string name;
    std::u16string password;
    int32_t user1 = 0;
    int32_t flags = 0;
};

// A session found by a search: what the host answered and where it listens.
struct SessionInfo {
    std::u16string name;
    int32_t currentPlayers = 0;
    int32_t maxPlayers = 0;
    int32_t user1 = 0;
    uint32_t address = 0;   // IPv4, host byte order
    uint16_t port = 0;      // the session's ENet port
    uint64_t instance = 0;  // tells two sessions at one address apart
};

struct PlayerInfo {
    int32_t id = 0;
    std::u16string shortName;
    std::u16string longName;
};

// A message taken from a session's queue. Sender 0 marks a system message, whose data is the
// system code and the player's id (two little-endian 32-bit integers).
struct ReceivedMessage {
    int32_t from = 0;
    std::vector<uint8_t> data;
};

}  // namespace platform::net
