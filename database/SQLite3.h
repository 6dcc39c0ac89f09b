#pragma once

#include <sqlite3.h>

#include <chrono>
#include <string>

#include "Utils/FixedText.h"
#include "Utils/Object.h"

struct CDailyMaxima;

// How one statement run went: the library's extended result code, and on failure its message.
struct CExecuteResult {
    int code = SQLITE_OK;
    int changes = 0;  // rows the statement inserted, changed or deleted; 0 when it failed
    std::string error;

    bool Ok() const { return code == SQLITE_OK; }
};

// The one connection to local.db. It opens the file, brings the schema up to date and offers
// the primitives every table model is built on. The library runs in its serialized threading
// mode, so the polling thread and the screens share the connection.
class CSQLite3 : public CObjectLockable {
public:
    // How long a statement waits while another program (the window and a scheduled poll, say)
    // writes to the same file, before it fails as locked.
    static constexpr std::chrono::milliseconds kDefaultBusyTimeout{5000};

    explicit CSQLite3(const char* path,
                      std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout);
    ~CSQLite3() override;
    CSQLite3(const CSQLite3&) = delete;
    CSQLite3& operator=(const CSQLite3&) = delete;

    void Open();
    // Harmless when already closed.
    void Close();

    // Prepares the first statement of `text` for stepping; the caller steps and finalizes it.
    // A failed preparation is logged, and its message kept in `error` when one is given.
    bool Query(const char* text, sqlite3_stmt** statement, std::string* error = nullptr);
    // Runs the whole text; a failure is not logged.
    bool Execute(const char* text);
    // As Execute, for callers that need to know why it failed or how many rows it changed.
    CExecuteResult Run(const char* text);
    // Runs an INSERT and reads its rowid as one operation, so another thread's insert on this
    // connection can never hand over its id. Returns the new rowid, or 0 when the insert fails;
    // `outcome`, when given, receives the statement's result (a refused duplicate is
    // SQLITE_CONSTRAINT_UNIQUE).
    int ExecuteInsert(const char* text, CExecuteResult* outcome = nullptr);

    // Transactions, for batches such as the imports: one commit instead of one per row. The
    // write lock is taken at the begin, waiting for another program's write as any statement
    // does: a transaction that first read and then wanted the lock could not wait for it, as
    // the other program's commit would wait for its read, and would fail at once.
    // A transaction belongs to the connection, not to the calling thread: while it is open,
    // every statement of every thread joins it, the polling thread's readings included, and a
    // rollback discards those as well and cuts short any other thread's read in progress;
    // other threads' reads see the uncommitted rows. So keep it short, end it on every path,
    // and roll back only when losing such rows is acceptable. Only one can be open at a time:
    // a second begin fails until commit or rollback.
    // `outcome`, when given, says why one failed.
    bool BeginTransaction(CExecuteResult* outcome = nullptr);
    bool CommitTransaction(CExecuteResult* outcome = nullptr);
    bool RollbackTransaction();

    int GetLastInsertId();
    int GetUserVersion();
    bool TableExists(const char* name);
    bool ColumnExists(const char* table, const char* column);
    void CreateTables();

    int GetOpenResult() const { return openResult_; }
    // Empty when the file takes a write; else SQLite's reason, for work that must not start on
    // a file it could not store into.
    std::string WhyNotWritable();

private:
    void ExecuteSchemaStep(const char* statement);
    // Whether the day table and its four triggers stand as this program makes them.
    bool DailyMaximaIntact(const CDailyMaxima& maxima);
    void RebuildDailyMaxima(const CDailyMaxima& maxima);

    CFixedText<300> path_;
    std::chrono::milliseconds busyTimeout_;
    sqlite3* connection_ = nullptr;
    char* schemaError_ = nullptr;  // of the last failing schema step; kept, never shown
    int openResult_ = SQLITE_OK;
};
