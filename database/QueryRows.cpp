#include "database/QueryRows.h"

#include "database/SQLite3.h"

CQueryRows::CQueryRows(CSQLite3& database, const std::string& text) {
    if (!database.Query(text.c_str(), &statement_)) statement_ = nullptr;
}

CQueryRows::~CQueryRows() { sqlite3_finalize(statement_); }

bool CQueryRows::Next() { return statement_ != nullptr && sqlite3_step(statement_) == SQLITE_ROW; }

std::string_view CQueryRows::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}
