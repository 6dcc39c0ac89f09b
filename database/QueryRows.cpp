#include "database/QueryRows.h"

#include "app/Log.h"
#include "database/SQLite3.h"

CQueryRows::CQueryRows(CSQLite3& database, const std::string& text) {
    if (!database.Query(text.c_str(), &statement_)) statement_ = nullptr;
}

CQueryRows::~CQueryRows() {
    sqlite3_finalize(statement_);
}

bool CQueryRows::Next() {
    if (statement_ == nullptr || state_ != State::Stepping) return false;
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) {
        state_ = State::Done;
    } else {
        state_ = State::Failed;
        // The code's own text: the connection's last message may already be another thread's.
        Log.Write("\nQuery failed: %s;\n", sqlite3_errstr(result));
    }
    return false;
}

std::string_view CQueryRows::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}
