#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

struct HiScoreEntry {
    int32_t Score = 0;
    std::u16string Name;
};

// The best scores of the space shooter with the players' names. Ten slots are ranked, nine are
// shown: slot 9 keeps the last score that dropped out and is the bar once the table is full.
class HiScore {
public:
    static constexpr int32_t kShown = 9;
    static constexpr int32_t kSlots = 10;

    // A name in the player's data folder (PlayerDataFolder). False (and nothing changed) when the
    // file is missing; a short or damaged file gives what it holds, the rest stays empty.
    bool LoadTable(const std::string& fileName);
    // Replaces the file only once the new table is completely written.
    bool SaveTable(const std::string& fileName) const;

    int32_t EntryCount() const { return count_; }
    // An empty entry outside 0 .. EntryCount() - 1.
    HiScoreEntry EntryAt(int32_t index) const;
    // True when `score` beats the first slot not shown (empty slots count 0).
    bool Qualifies(int32_t score) const;
    // Only after Qualifies(score): equal scores go after the older ones.
    void Insert(const std::u16string& name, int32_t score);

private:
    int32_t count_ = 0;
    std::array<HiScoreEntry, kSlots> entries_{};
};

extern std::shared_ptr<HiScore> g_HiScore;

inline constexpr const char* kHiScoreFile = "space.hi";
