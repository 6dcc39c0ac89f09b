#pragma once

#include <memory>
#include <string>

#include "database/OwningArray.h"
#include "database/QueryRows.h"
#include "database/ReadFailure.h"

class CSQLite3;

// Steps through the rows of `statement`, handing each to `readRow(rows, nested)`. A record that
// loads others with it (a meter its apartment, an apartment its building) says in `nested` that
// such a load failed. False when the statement could not be prepared, its rows could not all be
// read (both logged) or a load failed, with SQLite's reason in `failure` when one is given:
// what was read is then not to be shown as if it were all.
template <class ReadRow>
bool ReadRows(CSQLite3& database, const std::string& statement, ReadRow readRow,
              CReadFailure* failure) {
    CReadFailure nested;
    CQueryRows rows(database, statement);
    while (rows.Next()) readRow(rows, nested);
    if (!rows.Prepared() || rows.Failed()) nested.reason = rows.Error();
    if (!nested.Happened()) return true;
    if (failure != nullptr) *failure = std::move(nested);
    return false;
}

// One record per row, made by `readRow(rows, nested)`. Null when ReadRows fails; an empty list
// when nothing matched.
template <class Record, class ReadRow>
std::unique_ptr<COwningArray<Record>> ReadNestedList(CSQLite3& database,
                                                     const std::string& statement, ReadRow readRow,
                                                     CReadFailure* failure) {
    auto list = std::make_unique<COwningArray<Record>>();
    const auto add = [&](const CQueryRows& rows, CReadFailure& nested) {
        list->Add(readRow(rows, nested));
    };
    if (!ReadRows(database, statement, add, failure)) return nullptr;
    return list;
}

// As ReadNestedList, for records that load nothing with them: `readRow(rows)`.
template <class Record, class ReadRow>
std::unique_ptr<COwningArray<Record>> ReadList(CSQLite3& database, const std::string& statement,
                                               ReadRow readRow, CReadFailure* failure = nullptr) {
    return ReadNestedList<Record>(
        database, statement, [&](const CQueryRows& rows, CReadFailure&) { return readRow(rows); },
        failure);
}
