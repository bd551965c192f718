#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/net/SessionTypes.h"

namespace platform::net {

// The players of one session, shared by the game thread and the session's network thread:
// every call takes the list's own lock.
class PlayerList {
public:
    struct Change {
        std::vector<int32_t> created;
        std::vector<int32_t> destroyed;
    };

    std::vector<PlayerInfo> All() const;
    size_t Count() const;
    // Adds `player` and returns the list with it, read under the same lock.
    std::vector<PlayerInfo> Add(PlayerInfo player);
    // Replaces the list whole; says which players came and which went.
    Change Replace(std::vector<PlayerInfo> players);
    void Clear();
    // The first player other than `id`; 0 when there is none.
    int32_t OtherThan(int32_t id) const;
    // A random id from 1 to 2^31-1 that no player in the list has.
    int32_t NewId() const;

private:
    mutable std::mutex mutex_;
    std::vector<PlayerInfo> players_;
};

}  // namespace platform::net
