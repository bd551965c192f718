#include "results/HistoryStore.h"

#include <cstdio>
#include <utility>

#include "platform/BinaryFile.h"
#include "platform/SqlDatabase.h"
#include "platform/SqlStatement.h"

using platform::DbFault;
using platform::SqlDatabase;
using platform::SqlStatement;

namespace results {

namespace {

// kMigrations[v] brings a file of version v to version v + 1.
// A history dumped and loaded again has lost its version but kept its tables, so each step makes
// only what is missing.
const char* const kMigrations[] = {
    "CREATE TABLE IF NOT EXISTS results(id INTEGER PRIMARY KEY, finished_at INTEGER NOT NULL, game TEXT NOT NULL,"
    " level TEXT NOT NULL, keys INTEGER NOT NULL, correct INTEGER NOT NULL, wrong INTEGER NOT NULL,"
    " duration_ms INTEGER NOT NULL, outcome TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS results_by_game ON results(game, id);"
    "CREATE TABLE IF NOT EXISTS result_keys(result_id INTEGER NOT NULL, key INTEGER NOT NULL,"
    " presses INTEGER NOT NULL, misses INTEGER NOT NULL, PRIMARY KEY(result_id, key)) WITHOUT ROWID;",
};
static_assert(std::size(kMigrations) == HistoryStore::kSchemaVersion);

// The file is the player's to edit, so every value is read as a number in the range the game
// could have written, or as text of a bounded length. A result's counts stay under a billion, so
// their sum fits the int32 the screens add them in. `levelChars` bounds the level's text.
std::string Columns(int levelChars) {
    return "max(0, min(CAST(finished_at AS INTEGER), 253402300799999)), substr(game, 1, 32), substr(level, 1, " +
           std::to_string(levelChars) +
           "), max(0, min(CAST(correct AS INTEGER), 1000000000)), max(0, min(CAST(wrong AS INTEGER), 1000000000)),"
           " max(0, min(CAST(duration_ms AS INTEGER), 1000000000000)), substr(outcome, 1, 32)";
}

// The results of game ?1, or of every game when it is empty. Two forms, so that one game's
// latest results are read through the index by game, not found by scanning every result.
std::string GameFilter(const std::string& game) { return game.empty() ? "?1 = ''" : "game = ?1"; }

// Up to a billion presses or misses of a key, summed likewise.
std::string KeyTotalsQuery(const std::string& game) {
    return "SELECT key, min(SUM(max(0, min(CAST(presses AS INTEGER), 1000000000))), 1000000000),"
           " min(SUM(max(0, min(CAST(misses AS INTEGER), 1000000000))), 1000000000) FROM result_keys"
           " WHERE typeof(key) = 'integer' AND key BETWEEN 1 AND 65535 AND result_id IN"
           " (SELECT id FROM results WHERE " +
           GameFilter(game) + " ORDER BY id DESC LIMIT ?2) GROUP BY key ORDER BY key";
}

GameResult RowOf(const SqlStatement& s) {
    GameResult r;
    r.finishedAtMs = s.Int(0);
    r.game = s.Text(1);
    r.level = s.Text(2);
    r.correct = static_cast<int32_t>(s.Int(3));
    r.wrong = static_cast<int32_t>(s.Int(4));
    r.durationMs = s.Int(5);
    r.outcome = s.Text(6);
    return r;
}

}  // namespace

HistoryStore::HistoryStore(std::unique_ptr<SqlDatabase> db) : db_(std::move(db)) {}

HistoryStore::~HistoryStore() = default;

std::unique_ptr<HistoryStore> HistoryStore::Open(const std::string& path, bool forWriting, std::string& warning,
                                                 const platform::LockWait& wait, platform::DbFault* faultOut) {
    if (faultOut != nullptr) *faultOut = DbFault::None;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!forWriting && !SqlDatabase::Exists(path)) {
            warning = "no history at " + path;
            return nullptr;
        }
        DbFault fault = DbFault::None;
        std::unique_ptr<SqlDatabase> db = SqlDatabase::Open(path, forWriting, fault, warning, wait);
        std::unique_ptr<HistoryStore> store;
        if (db) {
            store.reset(new HistoryStore(std::move(db)));
            if (store->Migrate(warning, forWriting)) return store;
            fault = store->lastFault_;
            store.reset();
        }
        if (faultOut != nullptr) *faultOut = fault;
        if (!forWriting || fault != DbFault::Damaged || attempt > 0) return nullptr;
        if (!MoveDamagedAside(path, warning)) {
            warning = "cannot move the damaged " + path + " aside";
            return nullptr;
        }
    }
    return nullptr;
}

bool HistoryStore::MoveDamagedAside(const std::string& path, const std::string& why) {
    // A damaged file is kept for whoever wants to look at it; the history starts again.
    const std::string aside = platform::DamagedFileName(path);
    if (!SqlDatabase::MoveAside(path, aside)) return false;
    std::fprintf(stderr, "history: %s is damaged (%s): it is kept as %s and a new history is started\n", path.c_str(),
                 why.c_str(), aside.c_str());
    return true;
}

bool HistoryStore::Migrate(std::string& why, bool bringUp) {
    auto version = db_->Prepare("PRAGMA user_version");
    if (!version || version->Step() != SqlStatement::StepResult::Row) {
        why = db_->Error();
        lastFault_ = db_->Fault();
        return false;
    }
    int64_t v = version->Int(0);
    version.reset();
    if (v > kSchemaVersion) {
        why = "the history was written by a newer version of the game";
        return false;
    }
    if (HasView()) {
        why = "the history's results are a view, not a table";
        return false;
    }
    // A reader never writes: a file of an older version (one dumped and loaded again, or a copy
    // the player may not write) is read as it is. One made before its tables (an empty file a
    // failed first write left) holds no results.
    if (!bringUp) {
        auto table = db_->Prepare("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'results'");
        empty_ = v == 0 && table && table->Step() != SqlStatement::StepResult::Row;
        return true;
    }
    for (; v < kSchemaVersion; ++v) {
        const std::string step = std::string("BEGIN IMMEDIATE;") + kMigrations[v] +
                                 "PRAGMA user_version = " + std::to_string(v + 1) + ";COMMIT;";
        if (!db_->Exec(step.c_str())) {
            why = db_->Error();
            lastFault_ = db_->Fault();
            db_->Exec("ROLLBACK");
            return false;
        }
    }
    return true;
}

bool HistoryStore::HasView() {
    auto views = db_->Prepare(
        "SELECT 1 FROM sqlite_schema WHERE type = 'view' AND name IN ('results', 'result_keys') COLLATE NOCASE");
    return views && views->Step() == SqlStatement::StepResult::Row;
}

bool HistoryStore::Damaged() const { return lastFault_ == DbFault::Damaged; }

bool HistoryStore::Busy() const { return lastFault_ == DbFault::Busy; }

bool HistoryStore::Append(const GameResult& r, std::string& why, int64_t* appended) {
    auto fail = [&] {
        why = db_->Error();
        lastFault_ = db_->Fault();
        db_->Exec("ROLLBACK");
        return false;
    };
    lastFault_ = DbFault::None;
    if (!db_->Exec("BEGIN IMMEDIATE")) return fail();
    auto row = db_->Prepare(
        "INSERT INTO results(finished_at, game, level, keys, correct, wrong, duration_ms, outcome)"
        " VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    if (!row) return fail();
    row->Bind(1, r.finishedAtMs);
    row->Bind(2, r.game);
    row->Bind(3, r.level);
    row->Bind(4, int64_t{r.Keys()});
    row->Bind(5, int64_t{r.correct});
    row->Bind(6, int64_t{r.wrong});
    row->Bind(7, r.durationMs);
    row->Bind(8, r.outcome);
    if (row->Step() != SqlStatement::StepResult::Done) return fail();
    const int64_t id = db_->LastInsertId();
    auto key = db_->Prepare("INSERT INTO result_keys(result_id, key, presses, misses) VALUES(?, ?, ?, ?)");
    if (!key) return fail();
    for (const KeyCount& k : r.keys) {
        key->Bind(1, id);
        key->Bind(2, int64_t{k.key});
        key->Bind(3, int64_t{k.presses});
        key->Bind(4, int64_t{k.misses});
        if (key->Step() != SqlStatement::StepResult::Done) return fail();
        key->Reset();
    }
    if (!db_->Exec("COMMIT")) return fail();
    if (appended) *appended = id;
    return true;
}

bool HistoryStore::SetOutcome(int64_t id, const std::string& outcome, std::string& why) {
    lastFault_ = DbFault::None;
    auto row = db_->Prepare("UPDATE results SET outcome = ? WHERE id = ?");
    if (row) {
        row->Bind(1, outcome);
        row->Bind(2, id);
        if (row->Step() == SqlStatement::StepResult::Done) return true;
    }
    why = db_->Error();
    lastFault_ = db_->Fault();
    return false;
}

bool HistoryStore::ForEach(const std::function<void(const GameResult&)>& visit, std::string& why) {
    // An exported line carries the level's name, which the game keeps well under 1000 characters.
    if (empty_) return true;
    auto rows = db_->Prepare(("SELECT " + Columns(1000) + " FROM results ORDER BY id").c_str());
    if (!rows) {
        why = db_->Error();
        return false;
    }
    SqlStatement::StepResult step;
    while ((step = rows->Step()) == SqlStatement::StepResult::Row) visit(RowOf(*rows));
    if (step == SqlStatement::StepResult::Failed) why = db_->Error();
    return step == SqlStatement::StepResult::Done;
}

template <typename Rows>
Rows HistoryStore::Failed(std::string* why, Rows& rows) const {
    if (why) *why = db_->Error();
    rows.clear();
    return rows;
}

std::vector<GameResult> HistoryStore::Recent(const std::string& game, int32_t count, std::string* why) {
    std::vector<GameResult> out;
    if (empty_) return out;
    // The records screen shows no level, so none is read beyond a short name.
    auto rows = db_->Prepare(
        ("SELECT " + Columns(100) + " FROM results WHERE " + GameFilter(game) + " ORDER BY id DESC LIMIT ?2").c_str());
    if (!rows) return Failed(why, out);
    rows->Bind(1, game);
    rows->Bind(2, int64_t{count});
    SqlStatement::StepResult step;
    while ((step = rows->Step()) == SqlStatement::StepResult::Row) out.insert(out.begin(), RowOf(*rows));
    if (step == SqlStatement::StepResult::Failed) return Failed(why, out);
    return out;
}

std::vector<KeyCount> HistoryStore::KeyTotals(const std::string& game, int32_t count, std::string* why) {
    std::vector<KeyCount> out;
    if (empty_) return out;
    auto rows = db_->Prepare(KeyTotalsQuery(game).c_str());
    if (!rows) return Failed(why, out);
    rows->Bind(1, game);
    rows->Bind(2, int64_t{count});
    SqlStatement::StepResult step;
    while ((step = rows->Step()) == SqlStatement::StepResult::Row) {
        out.push_back(KeyCount{static_cast<char16_t>(rows->Int(0)), static_cast<int32_t>(rows->Int(1)),
                               static_cast<int32_t>(rows->Int(2))});
    }
    if (step == SqlStatement::StepResult::Failed) return Failed(why, out);
    return out;
}

}  // namespace results
