#include "database/QueryRows.h"

#include "app/Log.h"
#include "database/SQLite3.h"

CQueryRows::CQueryRows(CSQLite3& database, const std::string& text) {
    if (!database.Query(text.c_str(), &statement_, &error_)) statement_ = nullptr;
}

CQueryRows::~CQueryRows() {
    sqlite3_finalize(statement_);
}

bool CQueryRows::Next() {
    if (statement_ == nullptr || state_ != State::Stepping) return false;
    // The message belongs to the connection: holding its (recursive) mutex keeps another
    // thread's statement from coming between the step and the message.
    sqlite3_mutex* connectionMutex = sqlite3_db_mutex(sqlite3_db_handle(statement_));
    sqlite3_mutex_enter(connectionMutex);
    const int result = sqlite3_step(statement_);
    if (result != SQLITE_ROW && result != SQLITE_DONE) {
        error_ = sqlite3_errmsg(sqlite3_db_handle(statement_));
    }
    sqlite3_mutex_leave(connectionMutex);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) {
        state_ = State::Done;
    } else {
        state_ = State::Failed;
        Log.Write("\nQuery failed: %s;\n", error_.c_str());
    }
    return false;
}

std::string_view CQueryRows::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

std::optional<double> CQueryRows::Number(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement_, column);
        default:
            return std::nullopt;
    }
}
