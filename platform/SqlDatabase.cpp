#include "platform/SqlDatabase.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/FileReplacement.h"
#include "platform/SqlStatement.h"

namespace platform {

namespace {

// The database library's own limit on a file's full path, with its closing zero.
constexpr size_t kLongestPath = 512;

DbFault FaultOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return DbFault::None;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DbFault::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbFault::Busy;
    case SQLITE_FULL:
        return DbFault::Full;
    default:
        return DbFault::Other;
    }
}

}  // namespace

SqlDatabase::~SqlDatabase() { sqlite3_close_v2(static_cast<sqlite3*>(handle_)); }

std::unique_ptr<SqlDatabase> SqlDatabase::Open(const std::string& path, bool create, DbFault& fault, std::string& why,
                                               const LockWait& wait) {
    sqlite3* handle = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &handle, flags, nullptr);
    if (code != SQLITE_OK) {
        fault = FaultOf(code);
        why = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(code);
        // The library's words ("unable to open database file") say nothing of the cause.
        const int err = handle ? sqlite3_system_errno(handle) : 0;
        const std::string folder = err == ENOENT || err == ENOTDIR ? MissingFolderReason(path) : std::string();
        if (path.size() >= kLongestPath) {
            why += " (its path is longer than the " + std::to_string(kLongestPath - 1) + " bytes the database takes)";
        } else if (!folder.empty()) {
            why += " (" + folder + ")";
        } else if (err != 0) {
            why += std::string(" (") + std::strerror(err) + ")";
        }
        sqlite3_close_v2(handle);
        return nullptr;
    }
    // The file is the player's to edit, so nothing in its schema runs: no trigger fires on our
    // writes and no view stands in for a table.
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    fault = DbFault::None;
    std::unique_ptr<SqlDatabase> db(new SqlDatabase(handle));
    sqlite3_progress_handler(handle, 10000, &SqlDatabase::PastDeadline, db.get());
    // Another program holding the file makes a call wait before it gives up.
    db->wait_ = wait;
    sqlite3_busy_handler(handle, &SqlDatabase::WaitForLock, db.get());
    return db;
}

int SqlDatabase::PastDeadline(void* self) {
    return std::chrono::steady_clock::now() > static_cast<SqlDatabase*>(self)->deadline_ ? 1 : 0;
}

int SqlDatabase::WaitForLock(void* self, int tries) {
    auto* db = static_cast<SqlDatabase*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (tries == 0) db->lockedSince_ = now;
    std::chrono::milliseconds most = db->wait_.most;
    if (db->wait_.shorten != nullptr && db->wait_.shorten->load()) most = std::min(most, LockWait::kShort);
    const auto waited = now - db->lockedSince_;
    if (waited >= most) return 0;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(std::chrono::milliseconds(10), most - waited));
    return 1;
}

void SqlDatabase::StartStep() { deadline_ = std::chrono::steady_clock::now() + kStepLimit + wait_.most; }

bool SqlDatabase::MoveAside(const std::string& path, const std::string& target) {
    // The journal and the log hold part of the file's content, so they go with it; the shared
    // memory index is rebuilt from them.
    std::remove((path + "-shm").c_str());
    if (std::rename(path.c_str(), target.c_str()) != 0) return false;
    for (const char* suffix : {"-journal", "-wal"}) {
        const std::string from = path + suffix;
        if (std::rename(from.c_str(), (target + suffix).c_str()) != 0) std::remove(from.c_str());
    }
    return true;
}

bool SqlDatabase::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool SqlDatabase::Note(int code) {
    fault_ = FaultOf(code);
    if (fault_ == DbFault::None) return true;
    error_ =
        (code & 0xFF) == SQLITE_INTERRUPT
            ? "the file asked for more than " + std::to_string(kStepLimit.count() / 1000) + " s of work and was left"
            : std::string(sqlite3_errmsg(static_cast<sqlite3*>(handle_)));
    return false;
}

bool SqlDatabase::Exec(const char* sql) {
    StartStep();
    return Note(sqlite3_exec(static_cast<sqlite3*>(handle_), sql, nullptr, nullptr, nullptr));
}

std::unique_ptr<SqlStatement> SqlDatabase::Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (!Note(sqlite3_prepare_v2(static_cast<sqlite3*>(handle_), sql, -1, &statement, nullptr))) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return std::make_unique<SqlStatement>(*this, statement);
}

int64_t SqlDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(static_cast<sqlite3*>(handle_)); }

}  // namespace platform
