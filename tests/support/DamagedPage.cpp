#include "support/DamagedPage.h"

#include <sqlite3.h>

#include <fstream>

bool DamageTable(const std::filesystem::path& path, const std::string& table) {
    sqlite3* connection = nullptr;
    long long root = 0;
    long long pageSize = 0;
    if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        const std::string query =
            "SELECT rootpage, (SELECT page_size FROM pragma_page_size()) "
            "FROM sqlite_master WHERE name = ?1;";
        if (sqlite3_prepare_v2(connection, query.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(statement, 1, table.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(statement) == SQLITE_ROW) {
                root = sqlite3_column_int64(statement, 0);
                pageSize = sqlite3_column_int64(statement, 1);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(connection);
    if (root <= 0 || pageSize <= 0) return false;
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp((root - 1) * pageSize);
    const std::string garbage(static_cast<std::size_t>(pageSize), '\xAB');
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    return static_cast<bool>(file);
}
