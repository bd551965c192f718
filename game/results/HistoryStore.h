#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "results/GameResult.h"

#include "platform/SqlDatabase.h"

namespace results {

// The player's history of results in an SQLite file: one row per result and its per-key
// counts. The schema carries a version; opening for writing brings an older file up to the
// current version step by step.
class HistoryStore {
public:
    static constexpr int64_t kSchemaVersion = 1;

    ~HistoryStore();

    // Opens the history at `path`. For writing, an older schema is brought up to date, a missing
    // file is made, and a damaged one is moved aside to `path` + ".damaged" (".damaged-2" and on
    // when that is taken) before a new one is made; reading never writes to the file. Null on
    // failure, with one line saying why in `warning`.
    // `wait` is how long it waits for another program's lock on the file, and `fault` (when
    // given) receives what went wrong.
    static std::unique_ptr<HistoryStore> Open(const std::string& path, bool forWriting, std::string& warning,
                                              const platform::LockWait& wait = {}, platform::DbFault* fault = nullptr);
    // Moves a damaged history at `path` aside to the first free damaged name and says so on
    // standard error with `why`; false when it cannot be moved.
    static bool MoveDamagedAside(const std::string& path, const std::string& why);

    // Writes one result and its keys in one transaction. False with the reason in `why`.
    // `id`, when given, receives the new row's id.
    bool Append(const GameResult& result, std::string& why, int64_t* id = nullptr);
    // Sets the outcome of the row `id`. False with the reason in `why`.
    bool SetOutcome(int64_t id, const std::string& outcome, std::string& why);
    // Whether the last failure found the file damaged, or held by another program.
    bool Damaged() const;
    bool Busy() const;
    // Every result, oldest first, without its keys. False with the reason in `why`.
    bool ForEach(const std::function<void(const GameResult&)>& visit, std::string& why);
    // The last `count` results of `game` (all games when empty), oldest first, without keys;
    // none, with the reason in `why`, when they cannot be read.
    std::vector<GameResult> Recent(const std::string& game, int32_t count, std::string* why = nullptr);
    // Presses and misses of every key summed over the last `count` results of `game` (all
    // games when empty), by key code; none, with the reason in `why`, when they cannot be read.
    std::vector<KeyCount> KeyTotals(const std::string& game, int32_t count, std::string* why = nullptr);

private:
    // `rows` emptied, with the database's reason in `why` when given.
    template <typename Rows>
    Rows Failed(std::string* why, Rows& rows) const;
    explicit HistoryStore(std::unique_ptr<platform::SqlDatabase> db);
    // Refuses a newer file or a view, then brings the schema to kSchemaVersion when `bringUp`;
    // false if it cannot.
    bool Migrate(std::string& why, bool bringUp);
    // Whether the results or their keys are a view (which is never read) rather than a table.
    bool HasView();

    std::unique_ptr<platform::SqlDatabase> db_;
    platform::DbFault lastFault_ = platform::DbFault::None;
    bool empty_ = false;  // read from a file without its tables
};

}  // namespace results
