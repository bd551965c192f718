#pragma once
#include <cstdint>
#include <string>

namespace platform {

class SqlDatabase;

// A prepared statement of an SqlDatabase. Bind numbers start at 1, column numbers at 0.
class SqlStatement {
public:
    enum class StepResult { Row, Done, Failed };

    SqlStatement(SqlDatabase& db, void* handle) : db_(db), handle_(handle) {}
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    void Bind(int index, int64_t value);
    void Bind(int index, const std::string& text);
    StepResult Step();
    // Ready to run again with new bindings.
    void Reset();
    int64_t Int(int column) const;
    // UTF-8 text of the column; empty for NULL.
    std::string Text(int column) const;

private:
    SqlDatabase& db_;
    void* handle_;
};

}  // namespace platform
