#pragma once

#include <memory>
#include <string>

#include "database/OwningArray.h"
#include "database/QueryRows.h"

class CSQLite3;

// Runs a list statement and makes one record per row with `readRow`. Null when the statement
// could not be prepared or its rows could not all be read (both logged); an empty list when
// nothing matched.
template <class Record, class ReadRow>
std::unique_ptr<COwningArray<Record>> ReadList(CSQLite3& database, const std::string& statement,
                                               ReadRow readRow) {
    CQueryRows rows(database, statement);
    if (!rows.Prepared()) return nullptr;
    auto list = std::make_unique<COwningArray<Record>>();
    while (rows.Next()) list->Add(readRow(rows));
    if (rows.Failed()) return nullptr;
    return list;
}
