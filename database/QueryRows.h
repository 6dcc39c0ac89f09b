#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>

class CSQLite3;

// The rows of one query, read by column position; the statement is finalized on destruction.
class CQueryRows {
public:
    CQueryRows(CSQLite3& database, const std::string& text);
    ~CQueryRows();
    CQueryRows(const CQueryRows&) = delete;
    CQueryRows& operator=(const CQueryRows&) = delete;

    // False when the statement could not be prepared (already logged).
    bool Prepared() const { return statement_ != nullptr; }
    // Steps to the next row; false at the end or on an error.
    bool Next();
    // True once stepping stopped on an error (logged) rather than at the end of the rows, as
    // when another program's write outlasts the busy time-out: what was read is not all.
    bool Failed() const { return state_ == State::Failed; }
    // SQLite's message when the statement could not be prepared or stepping failed.
    const std::string& Error() const { return error_; }

    // A NULL number reads as 0, a NULL text as an empty text.
    int Int(int column) const { return sqlite3_column_int(statement_, column); }
    double Double(int column) const { return sqlite3_column_double(statement_, column); }
    std::string_view Text(int column) const;
    // A stored number; none for NULL, a text or a blob.
    std::optional<double> Number(int column) const;

private:
    enum class State { Stepping, Done, Failed };

    sqlite3_stmt* statement_ = nullptr;
    // Stepping a finished statement would run it again.
    State state_ = State::Stepping;
    std::string error_;
};
