#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    // file is missing. A file whose records do not parse (a count outside 0..9, a record cut
    // or past the ten, a name that is not text in the code page) gives an empty table and one
    // warning line on stderr. Entries this run could not save stay in the table.
    bool LoadTable(const std::string& fileName);
    // Writes the table as it is; the file is replaced only once the new table is completely
    // written. Tests and the fuzzer only: it takes no lock and keeps no damaged file, so the
    // game saves through Enter.
    bool SaveTable(const std::string& fileName) const;
    // Enters `name` with `score` into the table the file holds now: under the folder's lock the
    // file is read again, the entry (and those of this run not saved yet) inserted where they
    // still qualify, and the result written and shown. A damaged file is first kept as
    // "<file>.damaged", or the first free "<file>.damaged-N". A failed save tells the player
    // once a run with the reason, and its entries stay in the table for the rest of the run.
    bool Enter(const std::string& fileName, const std::u16string& name, int32_t score);

    int32_t EntryCount() const { return count_; }
    // An empty entry outside 0 .. EntryCount() - 1.
    HiScoreEntry EntryAt(int32_t index) const;
    // True when `score` beats the first slot not shown (empty slots count 0).
    bool Qualifies(int32_t score) const;
    // Only after Qualifies(score): equal scores go after the older ones.
    void Insert(const std::u16string& name, int32_t score);

private:
    enum class FileState { Missing, Read, Damaged, Failed };
    // Reads the file at `path` into the table (empty unless Read); `why` tells what is wrong.
    FileState ReadFile(const std::string& path, std::string& why);
    void InsertUnsaved();
    void TellSaveFailure(const std::string& path, const std::string& why);

    std::vector<HiScoreEntry> unsaved_;
    bool toldFailure_ = false;
    int32_t count_ = 0;
    std::array<HiScoreEntry, kSlots> entries_{};
};

extern std::shared_ptr<HiScore> g_HiScore;

inline constexpr const char* kHiScoreFile = "space.hi";
