#include "database/SQLite3.h"

#include <memory>
#include <vector>

#include "app/Log.h"
#include "database/Collections.h"
#include "database/DailyMaxima.h"
#include "database/DataPragmaTableInfo.h"
#include "database/QueryRows.h"
#include "database/Schema.h"
#include "database/Statement.h"

CSQLite3::CSQLite3(const char* path, std::chrono::milliseconds busyTimeout)
    : path_(path), busyTimeout_(busyTimeout) {
    Open();
    CreateTables();
}

CSQLite3::~CSQLite3() {
    Close();
    sqlite3_free(schemaError_);
}

void CSQLite3::Open() {
    if (connection_ != nullptr) return;
    // Serialized mode whatever the library's default: the connection is shared between threads.
    openResult_ = sqlite3_open_v2(
        path_.c_str(), &connection_,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (connection_ == nullptr) return;
    sqlite3_busy_timeout(connection_, static_cast<int>(busyTimeout_.count()));
    // Extended codes tell a refused duplicate (a UNIQUE constraint) from other failures.
    sqlite3_extended_result_codes(connection_, 1);
}

std::string CSQLite3::WhyNotWritable() {
    if (connection_ == nullptr || openResult_ != SQLITE_OK) return sqlite3_errstr(openResult_);
    // A real write, rolled back. The write lock alone writes nothing, while the first page
    // changed goes to the rollback journal at once: a folder where no journal can be made, a
    // disk without room for a page, a read-only file and a file that is no database all fail
    // here, before any work, rather than at the first thing to be stored. The connection's
    // mutex keeps another thread's statement out of the transaction the rollback ends.
    sqlite3_mutex* connectionMutex = sqlite3_db_mutex(connection_);
    sqlite3_mutex_enter(connectionMutex);
    CExecuteResult written = Run("BEGIN IMMEDIATE;");
    if (written.Ok()) {
        written = Run("CREATE TABLE vevo_write_check(x);");
        Run("ROLLBACK;");
    }
    sqlite3_mutex_leave(connectionMutex);
    return written.Ok() ? std::string() : std::move(written.error);
}

void CSQLite3::Close() {
    if (connection_ == nullptr) return;
    sqlite3_close(connection_);
    connection_ = nullptr;
}

bool CSQLite3::Query(const char* text, sqlite3_stmt** statement, std::string* error) {
    if (connection_ == nullptr) {
        if (error != nullptr) *error = "the database is closed";
        return false;
    }
    Lock();
    // Held across the preparation and its message, which another thread could replace.
    sqlite3_mutex* connectionMutex = sqlite3_db_mutex(connection_);
    sqlite3_mutex_enter(connectionMutex);
    const bool prepared =
        sqlite3_prepare_v2(connection_, text, -1, statement, nullptr) == SQLITE_OK;
    if (!prepared) {
        const char* message = sqlite3_errmsg(connection_);
        Log.Write("\nQuery failed: %s;\n", message);
        if (error != nullptr) *error = message;
    }
    sqlite3_mutex_leave(connectionMutex);
    Unlock();
    return prepared;
}

bool CSQLite3::Execute(const char* text) {
    return Run(text).Ok();
}

CExecuteResult CSQLite3::Run(const char* text) {
    CExecuteResult result;
    if (connection_ == nullptr) {
        result.code = SQLITE_MISUSE;
        result.error = "the database is closed";
        return result;
    }
    // The count of changed rows belongs to the connection: holding its (recursive) mutex keeps
    // another thread's statement from coming between this one and its count.
    sqlite3_mutex* connectionMutex = sqlite3_db_mutex(connection_);
    sqlite3_mutex_enter(connectionMutex);
    char* error = nullptr;
    result.code = sqlite3_exec(connection_, text, nullptr, nullptr, &error);
    if (result.Ok()) result.changes = sqlite3_changes(connection_);
    sqlite3_mutex_leave(connectionMutex);
    if (error != nullptr) result.error = error;
    sqlite3_free(error);
    return result;
}

int CSQLite3::ExecuteInsert(const char* text, CExecuteResult* outcome) {
    if (connection_ == nullptr) {
        if (outcome != nullptr) *outcome = Run(text);
        return 0;
    }
    // The library's own connection mutex is recursive and taken by every call on the
    // connection, so holding it keeps the insert and the read of its rowid together. The
    // object's lock comes first, as in Query, so the two locks are always taken in one order.
    Lock();
    sqlite3_mutex* connectionMutex = sqlite3_db_mutex(connection_);
    sqlite3_mutex_enter(connectionMutex);
    const CExecuteResult result = Run(text);
    const int id = result.Ok() ? static_cast<int>(sqlite3_last_insert_rowid(connection_)) : 0;
    sqlite3_mutex_leave(connectionMutex);
    Unlock();
    if (outcome != nullptr) *outcome = result;
    return id;
}

namespace {
bool Said(CExecuteResult result, CExecuteResult* outcome) {
    const bool ok = result.Ok();
    if (outcome != nullptr) *outcome = std::move(result);
    return ok;
}
}  // namespace

bool CSQLite3::BeginTransaction(CExecuteResult* outcome) {
    return Said(Run("BEGIN IMMEDIATE;"), outcome);
}

bool CSQLite3::CommitTransaction(CExecuteResult* outcome) {
    return Said(Run("COMMIT;"), outcome);
}

bool CSQLite3::RollbackTransaction() {
    return Execute("ROLLBACK;");
}

int CSQLite3::GetLastInsertId() {
    int id = -1;
    CQueryRows rows(*this, "SELECT last_insert_rowid();");
    while (rows.Next()) id = rows.Int(0);
    return id;
}

int CSQLite3::GetUserVersion() {
    int version = -1;
    CQueryRows rows(*this, "PRAGMA user_version");
    while (rows.Next()) version = rows.Int(0);
    return version;
}

bool CSQLite3::TableExists(const char* name) {
    bool exists = false;
    CQueryRows rows(
        *this, FormatStatement(
                   "SELECT count(*) FROM sqlite_master WHERE type='table' AND name='%s';", name));
    while (rows.Next()) exists = rows.Int(0) == 1;
    return exists;
}

bool CSQLite3::ColumnExists(const char* table, const char* column) {
    CArrayDataPragmaTableInfo columns;
    {
        CQueryRows rows(*this, FormatStatement("pragma table_info('%s');", table));
        if (!rows.Prepared()) return false;
        while (rows.Next()) {
            auto info = std::make_unique<CDataPragmaTableInfo>();
            info->cid = rows.Int(0);
            info->name = rows.Text(1);
            info->type = rows.Text(2);
            info->notnull = rows.Int(3);
            info->dflt_value = rows.Text(4);
            info->pk = rows.Int(5);
            columns.Add(std::move(info));
        }
    }
    for (const auto& info : columns) {
        if (info->name == column) return true;
    }
    return false;
}

void CSQLite3::ExecuteSchemaStep(const char* statement) {
    if (connection_ == nullptr) return;
    sqlite3_free(schemaError_);
    schemaError_ = nullptr;
    sqlite3_exec(connection_, statement, nullptr, nullptr, &schemaError_);
}

void CSQLite3::CreateTables() {
    using namespace Schema;
    if (!TableExists("heat_data_current")) ExecuteSchemaStep(kCreateHeatData);
    if (!TableExists("water_cold_data_current")) ExecuteSchemaStep(kCreateWaterColdData);
    if (!TableExists("water_hot_data_current")) ExecuteSchemaStep(kCreateWaterHotData);
    if (!TableExists("buildings")) ExecuteSchemaStep(kCreateBuildings);
    if (!TableExists("app")) ExecuteSchemaStep(kCreateApartments);
    if (!TableExists("devices_heat")) ExecuteSchemaStep(kCreateDevicesHeat);
    if (!ColumnExists("devices_heat", "position")) ExecuteSchemaStep(kAddHeatPosition);
    if (!TableExists("devices_water_cold")) ExecuteSchemaStep(kCreateDevicesWaterCold);
    if (!TableExists("devices_water_hot")) ExecuteSchemaStep(kCreateDevicesWaterHot);
    for (const CDailyMaxima* maxima :
         {&kHeatDailyMaxima, &kWaterColdDailyMaxima, &kWaterHotDailyMaxima}) {
        if (!DailyMaximaIntact(*maxima)) RebuildDailyMaxima(*maxima);
    }
}

bool CSQLite3::DailyMaximaIntact(const CDailyMaxima& maxima) {
    const std::vector<CSchemaObject> expected = DailyMaximaObjects(maxima);
    std::size_t intact = 0;
    // The triggers belong to the readings table, the day table to itself.
    CQueryRows rows(*this, FormatStatement("SELECT type, name, sql FROM sqlite_master WHERE "
                                           "tbl_name IN ('%s', '%s');",
                                           maxima.readings, maxima.daily));
    while (rows.Next()) {
        for (const CSchemaObject& object : expected) {
            if (rows.Text(0) == object.type && rows.Text(1) == object.name &&
                rows.Text(2) == object.sql)
                ++intact;
        }
    }
    return !rows.Failed() && intact == expected.size();
}

void CSQLite3::RebuildDailyMaxima(const CDailyMaxima& maxima) {
    // All or nothing: a table without its triggers would fall behind the readings unseen. A
    // tool that rebuilt the readings table dropped the triggers, and one that edited them may
    // have broken them: either way the day table is made again from the readings.
    const std::string script =
        "SAVEPOINT daily_maxima; " + DailyMaximaRebuild(maxima) + "RELEASE daily_maxima;";
    ExecuteSchemaStep(script.c_str());
    if (schemaError_ != nullptr) {
        sqlite3_exec(connection_, "ROLLBACK TO daily_maxima; RELEASE daily_maxima;", nullptr,
                     nullptr, nullptr);
    }
}
