#pragma once

#include <memory>
#include <string>

#include "database/OwningArray.h"
#include "database/QueryRows.h"
#include "database/ReadFailure.h"

class CSQLite3;

// Runs a list statement and makes one record per row with `readRow`. Null when the statement
// could not be prepared or its rows could not all be read (both logged, and said in `failure`
// when one is given); an empty list when nothing matched.
template <class Record, class ReadRow>
std::unique_ptr<COwningArray<Record>> ReadList(CSQLite3& database, const std::string& statement,
                                               ReadRow readRow, CReadFailure* failure = nullptr) {
    CQueryRows rows(database, statement);
    auto list = std::make_unique<COwningArray<Record>>();
    while (rows.Next()) list->Add(readRow(rows));
    if (!rows.Prepared() || rows.Failed()) {
        if (failure != nullptr) failure->reason = rows.Error();
        return nullptr;
    }
    return list;
}
