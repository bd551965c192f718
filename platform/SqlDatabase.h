#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class SqlStatement;

// What went wrong with a database, in the terms a caller acts on: a damaged file is moved aside,
// a busy or full one is left alone.
enum class DbFault { None, Damaged, Busy, Full, Other };

// One open SQLite database file. Every call reports failure through its result and leaves the
// reason in Fault() and Error(); nothing throws.
class SqlDatabase {
public:
    ~SqlDatabase();
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;

    // Opens the file at `path` for reading and writing, creating it when `create`. Null on
    // failure, with the fault and the reason in `fault` and `why`.
    static std::unique_ptr<SqlDatabase> Open(const std::string& path, bool create, DbFault& fault, std::string& why);
    // Renames `path` to `target` (replacing it) and removes the journal files left beside `path`.
    static bool MoveAside(const std::string& path, const std::string& target);
    // Whether a file exists at `path`.
    static bool Exists(const std::string& path);

    // Runs statements without results.
    bool Exec(const char* sql);
    // Null on failure.
    std::unique_ptr<SqlStatement> Prepare(const char* sql);
    int64_t LastInsertId() const;
    DbFault Fault() const { return fault_; }
    const std::string& Error() const { return error_; }

    // Records the outcome of an SQLite call (its result code); false unless it succeeded.
    bool Note(int code);

private:
    explicit SqlDatabase(void* handle) : handle_(handle) {}

    void* handle_;
    DbFault fault_ = DbFault::None;
    std::string error_;
};

}  // namespace platform
