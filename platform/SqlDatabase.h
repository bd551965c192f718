#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class SqlStatement;

// How long a call waits for another program's lock on the file before it fails as Busy: `most`,
// but no more than 200 ms once `shorten` is set (the program is ending).
struct LockWait {
    static constexpr std::chrono::milliseconds kShort{200};
    std::chrono::milliseconds most = kShort;
    const std::atomic<bool>* shorten = nullptr;
};

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
    static std::unique_ptr<SqlDatabase> Open(const std::string& path, bool create, DbFault& fault, std::string& why,
                                             const LockWait& wait = {});
    // Renames `path` to `target` (replacing it), and its journal files with it.
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
    // Starts the time one step or one Exec may take: a file's own schema may hold work that
    // never ends, and a step still running after kStepLimit (and the wait for a lock) stops
    // with an error.
    void StartStep();

    static constexpr std::chrono::milliseconds kStepLimit{2000};

private:
    explicit SqlDatabase(void* handle) : handle_(handle) {}
    static int PastDeadline(void* self);
    static int WaitForLock(void* self, int tries);

    void* handle_;
    DbFault fault_ = DbFault::None;
    std::string error_;
    std::chrono::steady_clock::time_point deadline_;
    LockWait wait_;
    std::chrono::steady_clock::time_point lockedSince_;
};

}  // namespace platform
