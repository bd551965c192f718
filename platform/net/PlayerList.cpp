#include "platform/net/PlayerList.h"

#include <algorithm>
#include <random>

namespace platform::net {

namespace {

bool Has(const std::vector<PlayerInfo>& list, int32_t id) {
    return std::any_of(list.begin(), list.end(), [&](const PlayerInfo& p) { return p.id == id; });
}

}  // namespace

std::vector<PlayerInfo> PlayerList::All() const {
    std::lock_guard lock(mutex_);
    return players_;
}

size_t PlayerList::Count() const {
    std::lock_guard lock(mutex_);
    return players_.size();
}

std::vector<PlayerInfo> PlayerList::Add(PlayerInfo player) {
    std::lock_guard lock(mutex_);
    players_.push_back(std::move(player));
    return players_;
}

PlayerList::Change PlayerList::Replace(std::vector<PlayerInfo> players) {
    Change change;
    std::lock_guard lock(mutex_);
    for (const auto& p : players)
        if (!Has(players_, p.id)) change.created.push_back(p.id);
    for (const auto& p : players_)
        if (!Has(players, p.id)) change.destroyed.push_back(p.id);
    players_ = std::move(players);
    return change;
}

void PlayerList::Clear() {
    std::lock_guard lock(mutex_);
    players_.clear();
}

int32_t PlayerList::OtherThan(int32_t id) const {
    std::lock_guard lock(mutex_);
    for (const auto& p : players_)
        if (p.id != id) return p.id;
    return 0;
}

int32_t PlayerList::NewId() const {
    static thread_local std::mt19937 gen{std::random_device{}()};
    std::uniform_int_distribution<int32_t> dist(1, 0x7FFFFFFF);
    std::lock_guard lock(mutex_);
    for (;;) {
        const int32_t id = dist(gen);
        if (!Has(players_, id)) return id;
    }
}

}  // namespace platform::net
