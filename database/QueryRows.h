#pragma once

#include <sqlite3.h>

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

    // A NULL number reads as 0, a NULL text as an empty text.
    int Int(int column) const { return sqlite3_column_int(statement_, column); }
    double Double(int column) const { return sqlite3_column_double(statement_, column); }
    std::string_view Text(int column) const;

private:
    sqlite3_stmt* statement_ = nullptr;
};
