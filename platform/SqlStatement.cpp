#include "platform/SqlStatement.h"

#include <sqlite3.h>

#include "platform/SqlDatabase.h"

namespace platform {

namespace {

sqlite3_stmt* Of(void* handle) { return static_cast<sqlite3_stmt*>(handle); }

}  // namespace

SqlStatement::~SqlStatement() { sqlite3_finalize(Of(handle_)); }

void SqlStatement::Bind(int index, int64_t value) { db_.Note(sqlite3_bind_int64(Of(handle_), index, value)); }

void SqlStatement::Bind(int index, const std::string& text) {
    db_.Note(sqlite3_bind_text(Of(handle_), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

SqlStatement::StepResult SqlStatement::Step() {
    db_.StartStep();
    const int code = sqlite3_step(Of(handle_));
    if (code == SQLITE_ROW) return StepResult::Row;
    if (code == SQLITE_DONE) return StepResult::Done;
    // The step's own result code carries the reason (corrupt, busy, full, ...).
    db_.Note(code);
    sqlite3_reset(Of(handle_));
    return StepResult::Failed;
}

void SqlStatement::Reset() {
    sqlite3_reset(Of(handle_));
    sqlite3_clear_bindings(Of(handle_));
}

int64_t SqlStatement::Int(int column) const { return sqlite3_column_int64(Of(handle_), column); }

std::string SqlStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(Of(handle_), column);
    const int size = sqlite3_column_bytes(Of(handle_), column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size)) : std::string();
}

}  // namespace platform
